#pragma once

#include "app/model/Model.h"

#include <QList>
#include <QStringList>

#include <memory>

class Forum;

// Moves or copies posts into a new thread of another forum: given the
// posts, it asks the forum for the move form ("inlinemod_moveposts", whose
// forums it keeps); given the destination and the new thread's title, it
// sends the move or the copy. A move or copy that went through is
// announced for a moment ("published_successfully") and its observers are
// told; one that failed reaches them as a failure, never as a success.
class PostMover : public Model {
public:
    // How long the announcement of a move or copy stays.
    static constexpr qint64 kAnnouncementMs = 1500;

    PostMover();
    ~PostMover() override;

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    const QStringList& postids() const { return m_postids; }
    // Keeps the ids and, when there are any, asks for the move form.
    void setPostids(const QStringList& postids);
    // The move form's forums ("moveforumbits").
    void setHTML(const Value& html);
    const QList<std::shared_ptr<Forum>>& forums() const { return m_forums; }
    QString title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    const std::shared_ptr<Forum>& forum() const { return m_forum; }
    void setForum(const std::shared_ptr<Forum>& forum) { m_forum = forum; }

    // Sends the posts to a new thread titled `title` in `forum`; the
    // destination and the title are cleared once sent.
    void move();
    void copy();
    void showAlertForMoveCopySuccess(const HTTPRequestPtr& request);

    // The depth an "optionclass" gives: the integer after its first
    // character, 0 for anything else.
    static qint32 levelOf(const Value& optionclass);

private:
    void send(const QString& apiMethod);

    QStringList m_postids;
    QList<std::shared_ptr<Forum>> m_forums;
    QString m_title;
    std::shared_ptr<Forum> m_forum;
};

using PostMoverPtr = std::shared_ptr<PostMover>;

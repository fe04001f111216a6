#pragma once

#include "app/model/Model.h"
#include "app/model/ModelObserver.h"
#include "forum/model/ReplyBuilder.h"
#include "platform/foundation/Observation.h"

#include <QString>

#include <memory>

class Thread;

// The quick-reply row of a thread page, as a row of its table: the reply
// form of the thread, asked for as soon as the thread is shown, and the text
// typed so far, kept while the row scrolls out of sight. The text goes only
// when the reply was sent; a send that failed keeps it and says why once. A
// form the forum refuses (no right to reply, a closed thread) leaves the row
// read-only with the forum's reason for good.
class QuickReply : public Model, public ModelObserver {
public:
    QuickReply();
    ~QuickReply() override;

    // Asks the forum for the thread's reply form at once.
    static std::shared_ptr<QuickReply> initWithThread(const std::shared_ptr<Thread>& thread);

    const ReplyBuilderPtr& replyBuilder() const { return m_builder; }
    // The builder's thread.
    std::shared_ptr<Thread> thread() const;

    // What the member has typed and not sent.
    const QString& text() const { return m_text; }
    void setText(const QString& text) { m_text = text; }
    // Why the member cannot reply here; empty while the row takes a reply.
    const QString& refusal() const { return m_refusal; }
    bool isSending() const;
    // The text went because the forum held it already: a first send whose
    // answer was lost had posted it.
    bool alreadyPosted() const { return m_builder && m_builder->alreadyPosted(); }

    // Sends the text as the reply; false, and nothing is sent, when there is
    // nothing but white space, the row is read-only, or a send is still open.
    bool submit();

    void modelHasChanged(Model* model) override;
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;

private:
    ReplyBuilderPtr m_builder;
    QString m_text;
    QString m_refusal;
    // A send of this row is on its way.
    bool m_submitted = false;
    Observation m_builderObservation;
};

using QuickReplyPtr = std::shared_ptr<QuickReply>;

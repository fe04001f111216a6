#pragma once

#include "forum/model/Builder.h"

#include <QList>
#include <QString>

#include <memory>

class Post;

// Changes a post: the form ("editpost_editpost", asked at once), then one
// upload carrying every attachment, then the edit ("editpost_updatepost").
// An alert tells the outcome briefly and the post's thread reloads after a
// sent edit. A failed upload fails the edit and keeps its text; an edit
// asked for before the form has come goes out once it has. After an edit
// whose answer was lost the post is read back first: one that has the text
// already was changed, and "edit_already_saved" says so.
class EditBuilder : public Builder {
public:
    // How long the outcome alert stays.
    static constexpr qint64 AlertMs = 1500;

    EditBuilder();
    ~EditBuilder() override;

    static std::shared_ptr<EditBuilder> initWithPost(const std::shared_ptr<Post>& post);

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    // Not owned: the post being changed.
    std::shared_ptr<Post> post() const { return m_post.lock(); }
    void setPost(const std::shared_ptr<Post>& post) { m_post = post; }
    QString message_bbcode() const { return m_messageBbcode; }
    void setMessage_bbcode(const QString& bbcode) { m_messageBbcode = bbcode; }
    // The request of the edit itself, while it runs.
    HTTPRequestPtr sending() const { return m_sending.lock(); }

    // The form's "messagearea": its "newpost" fills the builder.
    void setMessagearea(const Value& area);

    void finishedUploading(const HTTPRequestPtr& request) override;
    void uploadingFailed(const HTTPRequestPtr& request);
    void postEdit();
    void setErrormessage(const Value& code) override;
    bool wasSent(const Value& code) const;
    bool wasSentFine(const Value& code) override { return wasSent(code); }
    void setFromRequest(const HTTPRequestPtr& request) override;
    // A title-only alert, "edit_successfully" or "error", gone after AlertMs.
    static void showAlertViewForEditSuccess(bool success);

protected:
    Error sendContent() override;
    bool changesExistingPost() const override { return true; }
    HTTPRequestPtr askForFreshForm() override;
    // The post read back from the page that holds it.
    HTTPRequestPtr lookForSentContent() override;
    bool holdsSentContent(const RequestOutcome& answer) override;

private:
    // A title-only alert of the text under the key, gone after AlertMs.
    static void showEditAlert(const QString& key);
    // The one upload of every attachment; null when none can be read.
    HTTPRequestPtr makeUpload();
    void reloadThread();

    std::weak_ptr<Post> m_post;
    qint32 m_postid = 0;
    QString m_messageBbcode;
    std::weak_ptr<HTTPRequest> m_sending;
    // The upload running, if any.
    QList<HTTPRequestPtr> m_uploads;
    // create() came before the form: the edit goes once the form is there.
    bool m_sendWhenPrepared = false;
};

using EditBuilderPtr = std::shared_ptr<EditBuilder>;

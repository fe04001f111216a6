#pragma once

#include "forum/model/Post.h"
#include "forum/model/ReplyBuilder.h"
#include "forum/model/Thread.h"
#include "forum/screens/Editor.h"
#include "platform/foundation/Observation.h"

// Writes a reply to a thread, or to a post (the form then names its thread),
// and closes once it is sent. A quote comes in as the start of the text,
// ready to be sent as it is. A reply that fails keeps everything written.
class Reply : public Editor {
public:
    explicit Reply(AppContext& context);
    ~Reply() override;

    void viewDidLoad() override;

    const ThreadPtr& thread() const { return m_thread; }
    const PostPtr& post() const { return m_post; }
    // Replies to the thread: its reply form is asked for at once.
    void setThread(const ThreadPtr& thread);
    // Replies by the post's id.
    void setPost(const PostPtr& post);
    // The text, out of the placeholder (the quote of a post).
    void setText(const QString& text);

    void done() override;
    void modelHasChanged(Model* model) override;

    const ReplyBuilderPtr& replyBuilder() const { return m_replyBuilder; }

private:
    void setBuilder(const ReplyBuilderPtr& builder);

    ThreadPtr m_thread;
    PostPtr m_post;
    ReplyBuilderPtr m_replyBuilder;
    // Given before the view was made.
    QString m_pendingText;
    Observation m_replyBuilderObservation;
};

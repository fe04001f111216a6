#pragma once

#include "AppTest.h"
#include "forum/model/Builder.h"
#include "forum/model/Post.h"
#include "forum/model/Thread.h"

#include <QList>

// A new-thread-like builder: uploads owned by a forum, the content posted as
// "newthread_postthread".
class TestBuilder : public Builder {
public:
    static const QString PostMethod;

    std::optional<ValueDict> getParams() override
    {
        return ValueDict{{QStringLiteral("values[forumid]"), Value(QStringLiteral("7"))},
                         {QStringLiteral("contenttypeid"), Value(QStringLiteral("1"))}};
    }
    void post() override;
    bool wasSentFine(const Value& code) override { return code == Value(QStringLiteral("custom_thanks")); }
    // Keeps ended uploads for the test to hand on in an order of its choice.
    void finishedUploading(const HTTPRequestPtr& request) override
    {
        if (holdUploads)
            heldUploads.append(request);
        else
            Builder::finishedUploading(request);
    }

    // Answer the post through finishedCreating instead of setFromRequest.
    bool postThroughFinishedCreating = false;
    bool holdUploads = false;
    QList<HTTPRequestPtr> heldUploads;
    int posts = 0;
    // How many uploads were still running each time post ran.
    QList<int> uploadsRunningAtPost;
};

// Also writes down the builder's status at each announcement, failures included.
class BuilderObserver : public RecordingObserver {
public:
    void modelHasChanged(Model* model) override
    {
        statusesSeen.append(static_cast<Builder*>(model)->requestStatus());
        RecordingObserver::modelHasChanged(model);
    }
    bool modelHasFailedToUpdate(Model* model, const Error& error) override
    {
        statusesSeen.append(static_cast<Builder*>(model)->requestStatus());
        return RecordingObserver::modelHasFailedToUpdate(model, error);
    }

    QList<BuilderStatus> statusesSeen;
};

// The loopback forum, where a member posts and edits.
class PostingTest : public AppTest {
public:
    // What the member reads of a send whose fate is open or ended unknown:
    // the text under the key, the application's name in it.
    static QString fateText(const char* key);
    // The messages of the alerts on screen that say a send's fate is open.
    static QStringList noticesShown();

protected:

    // alice signed in, and the post that opens her thread 302, read with the
    // thread's first page.
    void openAlicesOwnPost(ThreadPtr& thread, PostPtr& own)
    {
        signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
        thread = Thread::initWithThreadid(302);
        thread->fetchPage(1);
        ASSERT_TRUE(settle());
        own = thread->postsOnPage(1).first();
        ASSERT_EQ(own->user()->username(), QStringLiteral("alice"));
    }
};

// The loopback forum with a guest session open, answering uploads and posts.
class BuilderTest : public AppTest {
protected:
    void SetUp() override;

    std::shared_ptr<TestBuilder> makeBuilder();
    // The post's answer from now on.
    void answerPostWith(const QString& code);

    BuilderObserver observer;
};

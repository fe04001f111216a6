#pragma once

#include "TestForum.h"
#include "app/model/ModelObserver.h"
#include "forum/model/Builder.h"

#include <QList>
#include <QStringList>

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '(' << list.join(QStringLiteral(", ")).toStdString() << ')';
}

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

// Counts what a model tells it, and takes failures itself.
class BuilderObserver : public ModelObserver {
public:
    void modelHasChanged(Model* model) override;
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;

    int changes = 0;
    QList<BuilderStatus> statusesSeen;  // requestStatus at each announcement, failures included
    QList<Error> failures;
};

// The loopback forum with a guest session open, answering uploads and posts.
class BuilderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::shared_ptr<TestBuilder> makeBuilder();
    // Waits until no request is in flight.
    bool settle();
    QStringList apiLog() const;
    // The post's answer from now on.
    void answerPostWith(const QString& code);
    static QString tableText(const QString& code);

    TestForum forum;
    BuilderObserver observer;
};

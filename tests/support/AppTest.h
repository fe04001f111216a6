#pragma once

#include "PlatformTest.h"
#include "RecordingObserver.h"
#include "TestForum.h"
#include "app/session/CurrentUser.h"

#include <QStringList>

#include <chrono>
#include <memory>

// The shared fixture of the application's tests. Besides the fresh platform
// state of PlatformTest, every test has a new API client (its page views go
// to the analytics tracker, as the application has it), an empty picture
// registry, no current user, a configuration read from the empty store, and
// its own loopback forum when it asks for one. What a test leaves in flight
// is cancelled and freed when it ends.
//
// Tests against the loopback forum run with the manual clock too: the only
// wait on the way of a request is its timeout, which a test passes by moving
// the clock past HTTPRequest::getDefaultTimeout().
class AppTest : public PlatformTest {
public:
    // The error table's text of a code.
    static QString tableText(const QString& code);
    // Runs the event loop until no request is in flight.
    static bool settle(std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));
    // The alerts on screen now with this message.
    static QList<std::shared_ptr<AlertView>> visibleAlerts(const QString& message);

protected:
    explicit AppTest(ClockKind clock = ClockKind::Manual) : PlatformTest(clock) {}
    void SetUp() override;
    void TearDown() override;

    // The loopback forum of this test, started on first use; the bundle's
    // base address then points at it.
    TestForum& forum();
    // The API methods the forum received, in order; the last request of a method.
    QStringList apiLog();
    TestForumRequest lastRequest(const QString& apiMethod);

    // Signs the member in (a session first when none is open) and waits
    // until the forum has accepted it; opens a guest session.
    CurrentUserPtr signIn(const QString& username, const QString& password);
    CurrentUserPtr openGuestSession();

private:
    std::unique_ptr<TestForum> m_forum;
};

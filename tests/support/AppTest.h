#pragma once

#include "PlatformTest.h"
#include "RecordingObserver.h"
#include "TestForum.h"
#include "app/session/AppContext.h"
#include "app/session/CurrentUser.h"

#include <QStringList>

#include <chrono>
#include <memory>

// The shared fixture of the application's tests. Besides the fresh platform
// state of PlatformTest, every test builds the application's context anew
// on its clock (a new API client whose page views go to the analytics
// tracker, a guest read from the empty store, the configuration read from
// it) and drops it when it ends, cancelling and freeing what the test left
// in flight; it has its own loopback forum when it asks for one.
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
    // Every call on its way has wholly left, as the client has heard: the
    // forum may carry it out. A posting call held at the forum's gate has
    // reached it before its client hears so; a test that then moves the
    // clock past the timeout waits for this first.
    static bool callsHaveLeft();

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

    // This test's application context.
    AppContext& context() const { return *m_context; }
    // Drops the context with everything it holds, as the end of a run does;
    // builds a new one, as the start of the next does.
    void dropContext();
    void buildContext();

private:
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<TestForum> m_forum;
};

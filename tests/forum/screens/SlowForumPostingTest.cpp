#include "ComposeScreenTest.h"
#include "NamedView.h"
#include "ShownPixels.h"

#include "forum/model/Builder.h"

#include <QJsonArray>
#include <QJsonObject>

// A forum slower than the member's wait, or one that stores a post after the
// line to it has closed: whatever the member presses and whenever, the
// thread ends holding the post once, and a post that is there is never told
// as failed. Each round walks a send from the press to what the thread shows,
// on the test clock.
namespace {

class SlowForumPostingTest : public ComposeScreenTest {
protected:
    void SetUp() override
    {
        ComposeScreenTest::SetUp();
        // The notices are drawn in the window, where the member reads them.
        AlertPresenter::install();
    }

    // The alerts drawn so far, each once, oldest first (the presenter that
    // draws them keeps no list).
    QStringList said()
    {
        for (const std::shared_ptr<AlertView>& alert : AlertView::visibleAlerts()) {
            if (!m_seen.contains(alert))
                m_seen.append(alert);
        }
        QStringList messages;
        for (const std::shared_ptr<AlertView>& alert : std::as_const(m_seen))
            messages.append(alert->message());
        return messages;
    }
    // The clock moved on to that many seconds after the press, and what
    // fell due then done.
    void at(qint64 pressedMs, int seconds)
    {
        const qint64 due = pressedMs + qint64(seconds) * 1000 - clock()->elapsedMs();
        ASSERT_GE(due, 0) << "the scenario is past " << seconds << " s already";
        clock()->advance(due);
        turnEventLoop();
        said();
    }
    void settleAndNote()
    {
        settleAll();
        said();
    }
    // The notice on top, with its text, drawn in the window over what was
    // shown before it came (`before`), as a fresh drawing shows it.
    void expectNoticeDrawn(const char* key, const QImage& before)
    {
        const QList<std::shared_ptr<AlertView>> alerts = AlertView::visibleAlerts();
        ASSERT_EQ(alerts.size(), 1);
        EXPECT_EQ(alerts.last()->title(), text("fate_open_title"));
        EXPECT_EQ(alerts.last()->message(), fateText(key));
        auto* overlay = qobject_cast<AlertOverlay*>(AlertPresenter::viewFor(alerts.last().get()));
        ASSERT_NE(overlay, nullptr);
        ShownPixels::drawFrame(window.get());
        EXPECT_EQ(ShownPixels::stale(window.get()), 0);
        const QImage shown = ShownPixels::shown(window.get());
        ASSERT_EQ(shown.size(), before.size());
        const QRect box = overlay->convertRect(overlay->boxRect(), nullptr).toAlignedRect() & shown.rect();
        ASSERT_FALSE(box.isEmpty());
        int changed = 0;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x)
                changed += shown.pixel(x, y) != before.pixel(x, y) ? 1 : 0;
        }
        EXPECT_GT(changed, box.width() * box.height() / 2) << "the notice is not what the window shows";
    }
    // What the member reads: nothing that calls a post on the forum failed.
    void expectNeverToldFailed()
    {
        const QStringList failures = {tableText(QStringLiteral("nointernet")),
                                      tableText(QStringLiteral("unexpected_server_response")),
                                      fateText("post_not_arrived"), fateText("post_look_failed"),
                                      fateText("post_fate_unknown")};
        for (const QString& message : said())
            EXPECT_FALSE(failures.contains(message)) << message.toStdString();
    }
    // Presses "submit" where it is; a button that is off takes nothing.
    void pressSubmitAgain(Editor* editor)
    {
        if (!said().isEmpty() && !AlertView::visibleAlerts().isEmpty())
            clickAlertButton(0);
        clickBarButton(window.get(), editor->navigationItem()->rightBarButtonItem());
        turnEventLoop();
    }
    // The quick-reply row's send button, pressed as the member does it.
    void pressQuickSend(PostController* page)
    {
        if (!said().isEmpty() && !AlertView::visibleAlerts().isEmpty())
            clickAlertButton(0);
        QuickReplyCell* cell = quickReplyCell(page);
        ASSERT_NE(cell, nullptr);
        if (!cell->textView()->isFirstResponder())
            clickInto(cell->textView());
        tapView(cell->submitButton());
        turnEventLoop();
    }

    QList<std::shared_ptr<AlertView>> m_seen;
};

}  // namespace

TEST_F(SlowForumPostingTest, AReplyTheForumStoresAtFiveTwentyFiveOrSixtySecondsGoesOnceWhateverTheMemberPresses)
{
    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    const auto page = openThread(307);
    const int limit = HTTPRequest::getDefaultTimeout();

    for (const int storedAt : {5, 25, 60}) {
        SCOPED_TRACE(storedAt);
        const QString gate = QStringLiteral("stored at %1").arg(storedAt);
        const QString typed = QStringLiteral("Worth the wait (%1 s).").arg(storedAt);
        const QList<int> before = postsOf(307);
        const qsizetype calls = requestsOf("newreply_postreply").size();
        auto* reply = writeReply(page.get(), typed);
        ASSERT_NE(reply, nullptr);

        // The forum sits on the reply until it stores it, then answers.
        forum().holdAtGate(QStringLiteral("newreply_postreply"), gate);
        press(reply->navigationItem()->rightBarButtonItem());  // submit
        const qint64 pressed = clock()->elapsedMs();
        ASSERT_TRUE(waitFor([&] { return forum().arrivedAtGate(gate) == 1 && callsHaveLeft(); }));
        turnEventLoop();

        // The member presses again and again while the forum has not said:
        // nothing goes, the editor waits; past our limit they are told once
        // that the reply may still arrive.
        bool told = false;
        for (const int moment : {3, limit - 1, limit + 1, limit + 20}) {
            if (moment >= storedAt)
                break;
            SCOPED_TRACE(moment);
            const QImage beforeNotice = ShownPixels::shown(window.get());
            at(pressed, moment);
            if (moment > limit && !told) {
                told = true;
                expectNoticeDrawn("post_waiting", beforeNotice);
                if (storedAt == 25)
                    picture("reply-forum-not-answered-yet.png");
            } else {
                EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
            }
            pressSubmitAgain(reply);
            EXPECT_EQ(top(), reply);
            EXPECT_FALSE(named<ActivityIndicatorView>(reply, "loading")->isHidden());
            EXPECT_EQ(requestsOf("newreply_postreply").size(), calls + 1);
        }

        // The forum stores it and answers: the editor closes, the notice goes,
        // and the thread page shows the reply, once.
        at(pressed, storedAt);
        forum().openGate(gate);
        ASSERT_TRUE(waitFor([&] { return top() == page.get(); }));
        settleAndNote();
        EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
        const QList<int> after = postsOf(307);
        ASSERT_EQ(after.size(), before.size() + 1);
        EXPECT_EQ(postsWithText(307, typed), 1);
        EXPECT_TRUE(shows(page.get(), after.last()));
        EXPECT_EQ(requestsOf("newreply_postreply").size(), calls + 1);
        expectNeverToldFailed();
    }
}

TEST_F(SlowForumPostingTest, AQuickReplyTheForumStoresAfterItsLineClosedIsLookedForAgainAndShownOnce)
{
    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    const auto page = openThread(307);
    const QuickReplyPtr row = page->quickReply();
    ASSERT_NE(row, nullptr);
    const QString typed = QStringLiteral("Stored late, shown once.");
    const QList<int> before = postsOf(307);

    // The line to the forum closes at once, with no answer; the forum stores
    // the reply 25 s later. The thread is looked at: nothing yet, and the
    // member is told it may still arrive.
    QuickReplyCell* cell = quickReplyCell(page.get());
    ASSERT_NE(cell, nullptr);
    clickInto(cell->textView());
    typeInto(editOf(cell->textView()), typed);
    forum().storeLate(QStringLiteral("newreply_postreply"), QStringLiteral("late"));
    const QImage beforeNotice = ShownPixels::shown(window.get());
    tapView(cell->submitButton());
    const qint64 pressed = clock()->elapsedMs();
    ASSERT_TRUE(waitFor([&] { return forum().arrivedAtGate(QStringLiteral("late")) == 1; }));
    ASSERT_TRUE(waitFor([] { return !AlertView::visibleAlerts().isEmpty(); }));
    turnEventLoop();
    said();
    expectNoticeDrawn("post_answer_lost", beforeNotice);
    picture("quick-reply-answer-lost.png");
    EXPECT_EQ(row->text(), typed);
    EXPECT_TRUE(row->isSending());

    // Pressed again before and after the forum stores it: nothing goes.
    at(pressed, 5);
    pressQuickSend(page.get());
    EXPECT_EQ(row->text(), typed);
    at(pressed, 25);
    forum().openGate(QStringLiteral("late"));
    ASSERT_TRUE(waitFor([&] { return postsWithText(307, typed) == 1; }));
    at(pressed, 30);
    pressQuickSend(page.get());
    EXPECT_EQ(requestsOf("newreply_postreply").size(), 1);

    // At the end of the grace the thread is looked at again: it is there. The
    // row empties, the member is told, and the page shows it.
    at(pressed, int(Builder::GraceMs / 1000) + 1);
    settleAndNote();
    EXPECT_TRUE(row->text().isEmpty());
    EXPECT_FALSE(row->isSending());
    EXPECT_EQ(said(), (QStringList{fateText("post_answer_lost"), text("reply_already_posted")}));
    picture("quick-reply-found-on-the-forum.png");
    const QList<int> after = postsOf(307);
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_TRUE(shows(page.get(), after.last()));
    dismissAlerts();

    // Sent again from the emptied row: nothing to send.
    pressQuickSend(page.get());
    EXPECT_EQ(requestsOf("newreply_postreply").size(), 1);
    EXPECT_EQ(postsWithText(307, typed), 1);
    expectNeverToldFailed();

    // One the forum never stores: after the grace the member is told it did
    // not arrive, the text stays, and the next press looks, then sends it once.
    const QString second = QStringLiteral("This one the forum lost.");
    cell = quickReplyCell(page.get());
    ASSERT_NE(cell, nullptr);
    clickInto(cell->textView());
    typeInto(editOf(cell->textView()), second);
    forum().storeLate(QStringLiteral("newreply_postreply"), QStringLiteral("never"));
    tapView(cell->submitButton());
    const qint64 again = clock()->elapsedMs();
    ASSERT_TRUE(waitFor([] { return !AlertView::visibleAlerts().isEmpty(); }));
    said();
    at(again, int(Builder::GraceMs / 1000) + 1);
    settleAndNote();
    EXPECT_EQ(said().last(), fateText("post_not_arrived"));
    EXPECT_EQ(row->text(), second);
    EXPECT_EQ(postsWithText(307, second), 0);
    dismissAlerts();
    pressQuickSend(page.get());
    settleAll();
    EXPECT_TRUE(row->text().isEmpty());
    EXPECT_EQ(postsWithText(307, second), 1);
    EXPECT_EQ(requestsOf("newreply_postreply").size(), 3);
}

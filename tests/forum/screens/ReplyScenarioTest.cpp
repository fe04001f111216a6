#include "ComposeScreenTest.h"
#include "NamedView.h"

#include "app/widgets/TabBarHidding.h"
#include "forum/cells/QuickReplyCell.h"
#include "forum/model/Post.h"
#include "forum/model/ReplyBuilder.h"
#include "forum/screens/EditPost.h"
#include "forum/screens/EditorPublishArea.h"
#include "forum/screens/PostController.h"
#include "forum/screens/PostDetailsController.h"
#include "forum/screens/Reply.h"
#include "forum/screens/ReportPost.h"
#include "platform/ui/BarButtonView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

#include <QJsonArray>
#include <QJsonObject>

// A member answers a thread every way the thread page offers: the add
// button's full editor, a quote from a post shown alone, the quick-reply row
// under the last page; edits a reply and a long post; reports a post. Each is
// read back from the loopback forum.
namespace {

class ReplyScenarioTest : public ComposeScreenTest {
protected:
    // The post alone, from its row on the page shown.
    PostDetailsController* openPost(PostController* page, qint32 postid)
    {
        const QList<ModelPtr> rows = page->postTable()->rowsForSection(0);
        for (int row = 0; row < rows.size(); ++row) {
            const auto post = std::dynamic_pointer_cast<Post>(rows.at(row));
            if (post && post->postid() == postid) {
                tapRow(page->postTable()->tableView(), IndexPath{0, row});
                settleAll();
                return topAs<PostDetailsController>();
            }
        }
        return nullptr;
    }
    void tapItem(PostDetailsController* details, PostDetailsController::Item item)
    {
        TabBarHidding* bar = details->actions();
        const TabBarItemPtr target = bar->initialItems().at(item);
        ASSERT_FALSE(bar->isHiddenAtIndex(item));
        tapView(bar);  // the bar takes the click where the item is
        bar->tapItem(target);
        finishMoving();
    }
    // The post's edit screen from its action bar, once the forum's form has come.
    EditPost* openEdit(PostDetailsController* details)
    {
        details->actions()->tapItem(details->actions()->initialItems().at(PostDetailsController::Edit));
        finishMoving();
        auto* edit = topAs<EditPost>();
        settleAll();
        return edit;
    }
    // A reply made through the reply form alone, as another screen would make it.
    void replyAsModel(qint32 threadid, const QString& text)
    {
        const auto builder = ReplyBuilder::initWithThread(Thread::initWithThreadid(threadid));
        settleAll();
        builder->setMessage(text);
        builder->create();
        settleAll();
        ASSERT_EQ(builder->status(), BuilderStatus::Sent) << apiLog().join(u',').toStdString() << "/" << lastRequest(QStringLiteral("newreply_postreply")).status << lastRequest(QStringLiteral("newreply_postreply")).httpMethod.toStdString() << lastRequest(QStringLiteral("newreply_postreply")).body.size() << lastRequest(QStringLiteral("newreply_postreply")).rawQuery.size();
    }
};

}  // namespace

TEST_F(ReplyScenarioTest, TheAddButtonsReplyAndAQuoteSentAsItIsAreReadBackOnTheThread)
{
    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    const auto page = openThread(307);
    const QList<int> before = postsOf(307);

    // The add button: the reply editor on this thread, its form asked for at once.
    press(page->navigationItem()->rightBarButtonItem());
    finishMoving();
    auto* reply = topAs<Reply>();
    ASSERT_NE(reply, nullptr);
    EXPECT_TRUE(reply->publishArea()->isHidden());
    EXPECT_EQ(reply->messageTitle()->text(), QString());
    settleAll();
    EXPECT_EQ(requestsOf("newreply_newreply").last().field(QStringLiteral("threadid")), QStringLiteral("307"));
    clickInto(reply->content());
    ASSERT_TRUE(reply->content()->isFirstResponder());
    typeInto(editOf(reply->content()), QStringLiteral("Settings, then Picture, also works."));
    picture("reply-editing.png");
    finishAndSubmit(reply);
    ASSERT_EQ(top(), page.get()) << "a sent reply closes its editor";
    QList<int> after = postsOf(307);
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(bbcodeOf(after.last()), QStringLiteral("Settings, then Picture, also works."));
    EXPECT_TRUE(alertMessages().isEmpty());

    // The thread reloaded with it; the opening post alone offers to quote it.
    const qint32 opening = before.first();
    auto* details = openPost(page.get(), opening);
    ASSERT_NE(details, nullptr);
    TabBarHidding* bar = details->actions();
    EXPECT_FALSE(bar->isHidden());
    EXPECT_FALSE(bar->isHiddenAtIndex(PostDetailsController::Report));
    EXPECT_FALSE(bar->isHiddenAtIndex(PostDetailsController::Reply));
    EXPECT_TRUE(bar->isHiddenAtIndex(PostDetailsController::Edit)) << "grace's post, not bob's";
    EXPECT_FALSE(bar->isHiddenAtIndex(PostDetailsController::Quote));
    EXPECT_LE(details->web()->frame().bottom(), bar->frame().top()) << "the page ends where the bar begins";
    picture("post-alone-actions.png");

    // The quote comes in ready to send, and goes as it is.
    bar->tapItem(bar->initialItems().at(PostDetailsController::Quote));
    finishMoving();
    auto* quote = topAs<Reply>();
    ASSERT_NE(quote, nullptr);
    const QString quoted = QStringLiteral("[QUOTE=grace;%1]I can't find where to change my picture. Any help? :([/QUOTE]")
                               .arg(opening);
    EXPECT_EQ(quote->content()->text(), quoted);
    EXPECT_EQ(quote->messageText(), quoted) << "out of the placeholder";
    settleAll();
    submit(quote);
    EXPECT_EQ(top(), details);
    after = postsOf(307);
    ASSERT_EQ(after.size(), before.size() + 2);
    EXPECT_EQ(bbcodeOf(after.last()), quoted);
}

TEST_F(ReplyScenarioTest, TheQuickReplyRowSendsFromUnderTheLastPageAndKeepsTextThatFailed)
{
    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    const auto page = openThread(307);
    const QList<int> before = postsOf(307);
    const QuickReplyPtr row = page->quickReply();
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(requestsOf("newreply_newreply").size(), 1) << "the form is asked for while the member reads";
    ShadowedTableView* table = page->postTable()->tableView();
    const int last = table->numberOfRowsInSection(0) - 1;
    EXPECT_EQ(page->postTable()->rowsForSection(0).at(last), row);
    EXPECT_EQ(table->rectForRowAtIndexPath(IndexPath{0, last}).height(), PostController::kQuickReplyRowHeight);
    table->scrollToRowAtIndexPath(IndexPath{0, last}, TableViewScrollPosition::Bottom, false);
    finishMoving();
    auto* cell = dynamic_cast<QuickReplyCell*>(table->cellForRowAtIndexPath(IndexPath{0, last}));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->titleLabel()->text(), QStringLiteral("Quick Reply"));
    EXPECT_TRUE(cell->submitButton()->isHidden());

    // Clicked into, the row shows its buttons; the send button with nothing typed only ends the editing.
    clickInto(cell->textView());
    ASSERT_TRUE(cell->textView()->isFirstResponder());
    EXPECT_FALSE(cell->submitButton()->isHidden());
    EXPECT_FALSE(cell->cancelButton()->isHidden());
    tapView(cell->submitButton());
    EXPECT_FALSE(cell->textView()->isFirstResponder());
    EXPECT_EQ(requestsOf("newreply_postreply").size(), 0);

    // Too quick for the forum: the text stays, editable, and the refusal is said once.
    clickInto(cell->textView());
    typeInto(editOf(cell->textView()), QStringLiteral("Thanks, that did it!"));
    picture("quick-reply.png");
    forum().refusePostsAsFlood();
    tapView(cell->submitButton());
    settleAll();
    EXPECT_EQ(alertMessages(), QStringList{tableText(QStringLiteral("postfloodcheck"))});
    EXPECT_EQ(row->text(), QStringLiteral("Thanks, that did it!"));
    EXPECT_TRUE(row->refusal().isEmpty());
    EXPECT_EQ(postsOf(307), before);
    dismissAlerts();

    // Sent: the row is empty again and the reply is on the thread's last page.
    cell = dynamic_cast<QuickReplyCell*>(table->cellForRowAtIndexPath(IndexPath{0, table->numberOfRowsInSection(0) - 1}));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->textView()->text(), QStringLiteral("Thanks, that did it!"));
    EXPECT_TRUE(cell->textView()->isEditable());
    clickInto(cell->textView());
    tapView(cell->submitButton());
    settleAll();
    const QList<int> after = postsOf(307);
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(bbcodeOf(after.last()), QStringLiteral("Thanks, that did it!"));
    EXPECT_TRUE(row->text().isEmpty());
    const auto shown = std::dynamic_pointer_cast<Post>(
        page->postTable()->rowsForSection(page->postTable()->tableView()->numberOfSections() - 1).value(
            int(page->postTable()->rowsForSection(0).size()) - 2));
    EXPECT_TRUE(alertMessages().size() == 1) << "nothing more was said";
}

TEST_F(ReplyScenarioTest, TheQuickReplySendsFromTheKeyboardAndItsButtonsStayWhileTheKeyboardIsOnThem)
{
    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    const auto page = openThread(307);
    const QList<int> before = postsOf(307);
    auto* cell = quickReplyCell(page.get());
    ASSERT_NE(cell, nullptr);
    clickInto(cell->textView());
    typeInto(editOf(cell->textView()), QStringLiteral("Sent with the keys alone."));

    // Back from the text to its send button: the buttons stay, the text too.
    UserInput::key(Qt::Key_Backtab, Qt::ShiftModifier, QString(), window.get());
    finishMoving();
    EXPECT_EQ(QApplication::focusWidget(), cell->submitButton());
    EXPECT_FALSE(cell->submitButton()->isHidden());
    EXPECT_FALSE(cell->cancelButton()->isHidden());
    EXPECT_EQ(requestsOf("newreply_postreply").size(), 0);

    // Space presses it, as it presses every button.
    UserInput::key(Qt::Key_Space, Qt::NoModifier, QString(), window.get());
    settleAll();
    const QList<int> after = postsOf(307);
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(bbcodeOf(after.last()), QStringLiteral("Sent with the keys alone."));
    EXPECT_TRUE(page->quickReply()->text().isEmpty());

    // The keyboard gone from the row, its buttons go too.
    UserInput::click(window.get(), QPointF(160, 100));
    finishMoving();
    ShadowedTableView* table = page->postTable()->tableView();
    cell = dynamic_cast<QuickReplyCell*>(table->cellForRowAtIndexPath(IndexPath{0, table->numberOfRowsInSection(0) - 1}));
    ASSERT_NE(cell, nullptr);
    EXPECT_TRUE(cell->submitButton()->isHidden());
}

TEST_F(ReplyScenarioTest, AThreadThatTakesNoReplyShowsWhyInAGreyRowAndOffersNoAddButton)
{
    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    const auto page = openThread(304);
    EXPECT_TRUE(page->thread()->isClosed());
    EXPECT_EQ(page->navigationItem()->rightBarButtonItem(), nullptr);
    ASSERT_NE(page->quickReply(), nullptr);
    EXPECT_EQ(page->quickReply()->refusal(), tableText(QStringLiteral("threadclosed")));
    EXPECT_TRUE(alertMessages().isEmpty()) << "the row says it, no alert";
    auto* cell = quickReplyCell(page.get());
    ASSERT_NE(cell, nullptr);
    EXPECT_FALSE(cell->textView()->isEditable());
    EXPECT_EQ(cell->textView()->text(), tableText(QStringLiteral("threadclosed")));
    picture("quick-reply-closed.png");

    // The post alone offers no reply nor quote in a closed thread.
    auto* details = openPost(page.get(), postsOf(304).first());
    ASSERT_NE(details, nullptr);
    EXPECT_TRUE(details->actions()->isHiddenAtIndex(PostDetailsController::Reply));
    EXPECT_TRUE(details->actions()->isHiddenAtIndex(PostDetailsController::Quote));
}

TEST_F(ReplyScenarioTest, AnEditOfAReplyAndOfALongPostAreReadBackWholeAndLeadBackToTheThread)
{
    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    replyAsModel(307, QStringLiteral("First try."));
    QString longText;
    for (int i = 0; longText.size() <= Post::MaxShownBbcode; ++i)
        longText += QStringLiteral("Line %1 of a very long answer, kept whole.\n").arg(i);
    replyAsModel(307, longText);
    const QList<int> posts = postsOf(307);
    const int shortReply = posts.at(posts.size() - 2);
    const int longReply = posts.last();

    // The short one: the editor is filled from the forum's form.
    const auto page = openThread(307);
    auto* details = openPost(page.get(), shortReply);
    ASSERT_NE(details, nullptr);
    EXPECT_FALSE(details->actions()->isHiddenAtIndex(PostDetailsController::Edit));
    forum().holdAtGate(QStringLiteral("editpost_editpost"), QStringLiteral("form"));
    details->actions()->tapItem(details->actions()->initialItems().at(PostDetailsController::Edit));
    finishMoving();
    auto* edit = topAs<EditPost>();
    ASSERT_NE(edit, nullptr);
    EXPECT_FALSE(edit->navigationItem()->rightBarButtonItem()->isEnabled()) << "nothing goes before the form";
    EXPECT_EQ(edit->content()->text(), text("placeholder_content"));
    ASSERT_TRUE(waitFor([&] { return forum().arrivedAtGate(QStringLiteral("form")) == 1; }));
    forum().openGate(QStringLiteral("form"));
    settleAll();
    EXPECT_TRUE(edit->navigationItem()->rightBarButtonItem()->isEnabled());
    EXPECT_EQ(edit->content()->text(), QStringLiteral("First try."));
    appendText(edit, QStringLiteral(" Second try."));
    finishAndSubmit(edit);
    EXPECT_EQ(bbcodeOf(shortReply), QStringLiteral("First try. Second try."));
    EXPECT_EQ(top(), page.get()) << "past the post shown alone";
    EXPECT_EQ(navigation()->viewControllers().size(), 1);
    ASSERT_EQ(shownAlerts().size(), 1);
    EXPECT_EQ(shownAlerts().first()->title(), text("edit_successfully"));
    finishMoving();

    // The long one shows cut short on the page, and its edit starts from the whole text.
    settleAll();
    const QList<ModelPtr> rows = page->postTable()->rowsForSection(page->postTable()->tableView()->numberOfSections() - 1);
    details = nullptr;
    for (int section = 0; section < page->postTable()->tableView()->numberOfSections() && !details; ++section) {
        for (const ModelPtr& row : page->postTable()->rowsForSection(section)) {
            const auto post = std::dynamic_pointer_cast<Post>(row);
            if (post && post->postid() == longReply) {
                EXPECT_EQ(post->message_bbcode(), text("message_too_long"));
                auto shownAlone = std::make_shared<PostDetailsController>(context());
                shownAlone->setPost(post);
                navigation()->pushViewController(shownAlone, false);
                finishMoving();
                details = shownAlone.get();
            }
        }
    }
    ASSERT_NE(details, nullptr);
    // Its quote carries the text, not the notice the page shows, cut where
    // the page would stop showing a post, and says so.
    details->actions()->tapItem(details->actions()->initialItems().at(PostDetailsController::Quote));
    finishMoving();
    auto* quote = topAs<Reply>();
    ASSERT_NE(quote, nullptr);
    const QString opening = QStringLiteral("[QUOTE=bob;%1]").arg(longReply);
    const QString closing = u'\n' + text("quote_cut") + QStringLiteral("[/QUOTE]");
    const QString quoted = quote->messageText();
    ASSERT_TRUE(quoted.startsWith(opening) && quoted.endsWith(closing)) << quoted.right(200).toStdString();
    const QString kept = quoted.mid(opening.size(), quoted.size() - opening.size() - closing.size());
    EXPECT_GT(kept.size(), Post::MaxShownBbcode - 100);
    EXPECT_LE(kept.size(), Post::MaxShownBbcode);
    EXPECT_TRUE(longText.startsWith(kept));
    EXPECT_TRUE(longText.at(kept.size()).isSpace()) << "cut between words";
    back();
    edit = openEdit(details);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->content()->text(), longText);
    appendText(edit, QStringLiteral("PS."));
    finishAndSubmit(edit);
    EXPECT_EQ(bbcodeOf(longReply), longText + QStringLiteral("PS."));
    EXPECT_EQ(top(), page.get());
}

TEST_F(ReplyScenarioTest, AReportGoesWithTheSuggestedReasonOrTheOneTypedAndTheThanksAreSaidOnce)
{
    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    const auto page = openThread(307);
    const int reported = postsOf(307).first();
    auto* details = openPost(page.get(), reported);
    ASSERT_NE(details, nullptr);
    details->actions()->tapItem(details->actions()->initialItems().at(PostDetailsController::Report));
    finishMoving();
    auto* report = topAs<ReportPost>();
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->message()->text(), text("report_reason"));
    picture("report-post.png");
    press(report->navigationItem()->rightBarButtonItem());
    finishMoving();
    EXPECT_EQ(top(), details);
    settleAll();
    ASSERT_FALSE(forum().reports().isEmpty());
    QJsonObject last = forum().reports().last().toObject();
    EXPECT_EQ(last.value(QStringLiteral("postid")).toInt(), reported);
    EXPECT_EQ(last.value(QStringLiteral("reason")).toString(), text("report_reason"));
    EXPECT_EQ(alertMessages(), QStringList{tableText(QStringLiteral("redirect_reportthanks"))});
    dismissAlerts();

    // A reason typed: the suggestion goes at the first click.
    details->actions()->tapItem(details->actions()->initialItems().at(PostDetailsController::Report));
    finishMoving();
    report = topAs<ReportPost>();
    ASSERT_NE(report, nullptr);
    clickInto(report->message());
    EXPECT_EQ(report->message()->text(), QString());
    typeInto(editOf(report->message()), QStringLiteral("Off topic."));
    press(report->navigationItem()->rightBarButtonItem());
    settleAll();
    last = forum().reports().last().toObject();
    EXPECT_EQ(last.value(QStringLiteral("reason")).toString(), QStringLiteral("Off topic."));
}

TEST_F(ReplyScenarioTest, AReplyAQuickReplyAndAnEditWhoseAnswersWereLostAreShownAsPostedAndNeverToldAsFailed)
{
    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    const auto page = openThread(307);
    const QList<int> before = postsOf(307);
    // Nothing that reached the forum is ever told as failed.
    const QStringList failures = {tableText(QStringLiteral("nointernet")),
                                  tableText(QStringLiteral("unexpected_server_response"))};
    const auto toldFailed = [&] {
        for (const QString& said : alertMessages()) {
            if (failures.contains(said))
                return true;
        }
        return false;
    };

    // The reply editor: the forum takes the reply, and the line closes before
    // its answer. The thread's last page has it: the editor closes, the
    // member is told, and the page shows it.
    auto* reply = writeReply(page.get(), QStringLiteral("Long-press works too."));
    ASSERT_NE(reply, nullptr);
    forum().dropConnection(QStringLiteral("newreply_postreply"), 1, TestForum::Drop::AfterHandling);
    submit(reply);
    EXPECT_EQ(top(), page.get());
    EXPECT_EQ(alertMessages(), QStringList{text("reply_already_posted")});
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    EXPECT_EQ(AlertView::visibleAlerts().first()->title(), text("published_title"));
    picture("reply-posted-once.png");
    EXPECT_EQ(requestsOf("newreply_postreply").size(), 1);
    QList<int> after = postsOf(307);
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(bbcodeOf(after.last()), QStringLiteral("Long-press works too."));
    EXPECT_TRUE(shows(page.get(), after.last())) << "the thread page was read again with the reply";
    dismissAlerts();

    // The quick-reply row: the forum takes it and signs its answer wrongly.
    // It is there: the row empties and the member is told.
    const QuickReplyPtr row = page->quickReply();
    ASSERT_NE(row, nullptr);
    auto* cell = quickReplyCell(page.get());
    ASSERT_NE(cell, nullptr);
    clickInto(cell->textView());
    typeInto(editOf(cell->textView()), QStringLiteral("And a double-click, on the desktop."));
    forum().signWrongly(QStringLiteral("newreply_postreply"));
    tapView(cell->submitButton());
    settleAll();
    EXPECT_TRUE(row->text().isEmpty());
    EXPECT_EQ(alertMessages().last(), text("reply_already_posted"));
    EXPECT_EQ(requestsOf("newreply_postreply").size(), 2);
    after = postsOf(307);
    ASSERT_EQ(after.size(), before.size() + 2);
    EXPECT_EQ(bbcodeOf(after.last()), QStringLiteral("And a double-click, on the desktop."));
    dismissAlerts();

    // Its edit: the forum changes the post, and the answer is cut halfway.
    // The post read back has the text: the member is told it was saved, and
    // is back on the thread.
    settleAll();
    auto* details = openPost(page.get(), after.last());
    ASSERT_NE(details, nullptr);
    auto* edit = openEdit(details);
    ASSERT_NE(edit, nullptr);
    appendText(edit, QStringLiteral(" Or right-click."));
    press(edit->navigationItem()->rightBarButtonItem());  // done
    forum().dropConnection(QStringLiteral("editpost_updatepost"), 1, TestForum::Drop::MidBody);
    const qsizetype shown = shownAlerts().size();
    submit(edit);
    EXPECT_EQ(top(), page.get());
    ASSERT_EQ(shownAlerts().size(), shown + 1);
    EXPECT_EQ(shownAlerts().last()->title(), text("edit_already_saved"));
    EXPECT_EQ(requestsOf("editpost_updatepost").size(), 1);
    EXPECT_EQ(bbcodeOf(after.last()), QStringLiteral("And a double-click, on the desktop. Or right-click."));
    EXPECT_FALSE(toldFailed()) << alertMessages().join(u'\n').toStdString();
    finishMoving();
}

TEST_F(ReplyScenarioTest, DiscardIsOffWhileAReplyIsOnItsWayAndTheThreadShowsTheReplyWhenItLands)
{
    // The discard question drawn in the window, if it ever came.
    AlertPresenter::install();
    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    const auto page = openThread(307);
    const QList<int> before = postsOf(307);
    auto* reply = writeReply(page.get(), QStringLiteral("Slow forum, but it gets there."));
    ASSERT_NE(reply, nullptr);

    // A slow forum: the reply has gone out and waits at the forum's door.
    forum().holdAtGate(QStringLiteral("newreply_postreply"), QStringLiteral("slow"));
    press(reply->navigationItem()->rightBarButtonItem());  // submit
    ASSERT_TRUE(waitFor([&] { return forum().arrivedAtGate(QStringLiteral("slow")) == 1; }));
    finishMoving();
    EXPECT_FALSE(named<ActivityIndicatorView>(reply, "loading")->isHidden());
    const std::shared_ptr<BarButtonItem> discard = reply->navigationItem()->leftBarButtonItem();
    ASSERT_NE(discard, nullptr);
    EXPECT_FALSE(discard->isEnabled()) << "what has gone out cannot be discarded";
    EXPECT_FALSE(reply->navigationItem()->rightBarButtonItem()->isEnabled()) << "submit was pressed";
    picture("reply-sending.png");

    // A click on it, and the keys, take nothing away.
    clickBarButton(window.get(), discard);
    finishMoving();
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty()) << "no question about work that is on its way";
    EXPECT_EQ(top(), reply);
    for (int stop = 0; stop < 12; ++stop) {
        UserInput::key(Qt::Key_Tab, Qt::NoModifier, QString(), window.get());
        finishMoving();
        auto* onBar = qobject_cast<BarButtonView*>(QApplication::focusWidget());
        EXPECT_TRUE(!onBar || onBar->item() != discard) << "Tab stops at a discard that is off";
    }
    UserInput::key(Qt::Key_Space, Qt::NoModifier, QString(), window.get());
    finishMoving();
    EXPECT_EQ(top(), reply);

    // The forum takes it: the editor closes, and the thread shows the reply.
    forum().openGate(QStringLiteral("slow"));
    settleAll();
    EXPECT_EQ(top(), page.get());
    const QList<int> after = postsOf(307);
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(bbcodeOf(after.last()), QStringLiteral("Slow forum, but it gets there."));
    bool shown = false;
    PaginableTableView* posts = page->postTable();
    for (int section = 0; section < posts->tableView()->numberOfSections(); ++section) {
        for (const ModelPtr& row : posts->rowsForSection(section)) {
            const auto post = std::dynamic_pointer_cast<Post>(row);
            shown = shown || (post && post->postid() == after.last());
        }
    }
    EXPECT_TRUE(shown) << "the thread page was read again with the reply";
    EXPECT_TRUE(alertMessages().isEmpty());
}

#include "ComposeScreenTest.h"
#include "NamedView.h"
#include "ControlClicks.h"

#include "app/widgets/SegmentControlHidding.h"
#include "forum/model/BlogProbe.h"
#include "forum/screens/CreateContent.h"
#include "forum/screens/EditorButtonStrip.h"
#include "forum/screens/EditorFormatBar.h"
#include "forum/screens/EditorPublishArea.h"
#include "forum/screens/InsertTextController.h"
#include "forum/screens/ContentTags.h"
#include "forum/screens/PostController.h"
#include "forum/screens/Reply.h"
#include "forum/screens/SelectForumController.h"
#include "forum/screens/SelectThreadPrefix.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/BarButtonView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"

#include <QTest>

#include <QJsonObject>

#include <QDeadlineTimer>

// The editor's own rules, on the new-content screen: its placeholder never
// goes out, where the content goes is chosen before anything is sent, the
// emoticon keys can be reached, the blog form's answer changes only what it
// names, leaving asks first, and the keyboard moves between title and text.
namespace {

class EditorTest : public ComposeScreenTest {
protected:
    std::shared_ptr<CreateContent> openEditor()
    {
        showRoot(std::make_shared<UIViewControllerCommon>());
        auto editor = std::dynamic_pointer_cast<CreateContent>(ViewControllerRegistry::create(QStringLiteral("CreateContent")));
        EXPECT_NE(editor, nullptr);
        navigation()->pushViewController(editor, true);
        finishMoving();
        return editor;
    }
    // Tab (or Shift+Tab) through the window until the condition holds; false
    // when it never does within a round of the screen.
    bool tabUntil(const std::function<bool()>& reached, bool backwards = false)
    {
        for (int stop = 0; stop < 20; ++stop) {
            UserInput::key(backwards ? Qt::Key_Backtab : Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier,
                           QString(), window.get());
            finishMoving();
            if (reached())
                return true;
        }
        return false;
    }
    static bool focusIsOn(const QWidget* widget) { return widget && QApplication::focusWidget() == widget; }
    static bool focusIsOn(const std::shared_ptr<BarButtonItem>& item)
    {
        const auto* shown = qobject_cast<BarButtonView*>(QApplication::focusWidget());
        return item && shown && shown->item() == item;
    }
    // The focus is on no button of the navigation bar.
    static bool focusOffTheBar() { return qobject_cast<BarButtonView*>(QApplication::focusWidget()) == nullptr; }
    void keys(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        UserInput::key(key, modifiers, QString(), window.get());
        finishMoving();
    }
    QStringList alertTitles() const
    {
        QStringList titles;
        for (const std::shared_ptr<AlertView>& alert : shownAlerts())
            titles.append(alert->title());
        return titles;
    }
};

}  // namespace

TEST_F(EditorTest, ThePlaceholderNeverGoesOutAndNothingIsSentBeforeATargetIsChosen)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const auto editor = openEditor();
    settleAll();
    EXPECT_EQ(editor->content()->text(), text("placeholder_content"));
    EXPECT_FALSE(editor->draft().isTextTouched());
    EXPECT_EQ(editor->messageText(), QString());
    EXPECT_EQ(editor->selContentType(), CreateContent::NoContentType);
    EXPECT_TRUE(editor->publishArea()->shownTarget() == nullptr);
    EXPECT_FALSE(named<Button>(editor, "tagsButton")->isEnabled());
    EXPECT_FALSE(editor->selectPrefixButton()->isEnabled());
    EXPECT_TRUE(named<Button>(editor, "addAttachment")->isHidden()) << "no target, no pictures yet";
    picture("editor-untouched.png");

    // Title first, then the text; and no target is said before either.
    press(editor->navigationItem()->rightBarButtonItem());
    EXPECT_EQ(alertTitles().last(), text("no_content_type_selected"));
    typeInField(editor->messageTitle(), QStringLiteral("A title"));
    press(editor->navigationItem()->rightBarButtonItem());
    EXPECT_EQ(alertMessages().last(), text("please_select_where_your")) << "even with a title";
    dismissAlerts();

    // A forum from the picker; an empty title, then the placeholder, are refused.
    clickSegment(editor->publishArea()->publishIn(), EditorPublishArea::Forum);
    finishMoving();
    auto* picker = topAs<SelectForumController>();
    ASSERT_NE(picker, nullptr);
    settleAll();
    tapRow(picker->forumTable(), IndexPath{0, 0});
    settleAll();
    ASSERT_EQ(top(), editor.get());
    EXPECT_EQ(editor->forum()->forumid(), 2);
    EXPECT_EQ(editor->selContentType(), CreateContent::ThreadContent);
    lineOf(editor->messageTitle())->clear();
    press(editor->navigationItem()->rightBarButtonItem());
    EXPECT_EQ(alertMessages().last(), text("create_missing_field"));
    typeInField(editor->messageTitle(), QStringLiteral("Video night"));
    press(editor->navigationItem()->rightBarButtonItem());
    EXPECT_EQ(alertMessages().last(), text("create_blank_content"));
    dismissAlerts();

    // A video from the prompt on the untouched text: the placeholder goes first.
    tapView(named<Button>(editor, "addAttachment"));
    tapView(named<Button>(editor, "addVideo"));
    finishMoving();
    auto* prompt = topAs<InsertTextController>();
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->label()->text(), text("insert_video_url"));
    typeInto(lineOf(prompt->input()), QStringLiteral("https://video.example/night"));
    key(lineOf(prompt->input()), Qt::Key_Return);
    finishMoving();
    ASSERT_EQ(top(), editor.get());
    EXPECT_EQ(editor->content()->text(), QStringLiteral(" [video]https://video.example/night[/video]"));
    EXPECT_TRUE(editor->draft().isTextTouched());

    // A selection wraps in place, the caret after it.
    clickInto(editor->content());
    editor->content()->setText(QStringLiteral("Watch https://v.example/a now"));
    editor->content()->setSelectedRange(TextRange{6, 19});
    press(editor->navigationItem()->rightBarButtonItem());  // done: the attachment button is back
    finishMoving();
    editor->content()->setSelectedRange(TextRange{6, 19});
    tapView(named<Button>(editor, "addAttachment"));
    tapView(named<Button>(editor, "addVideo"));
    finishMoving();
    EXPECT_EQ(top(), editor.get());
    EXPECT_EQ(editor->content()->text(), QStringLiteral("Watch [video]https://v.example/a[/video] now"));
    EXPECT_EQ(editor->content()->selectedRange(), (TextRange{6 + 19 + 15, 0}));
}

TEST_F(EditorTest, ComingBackFromThePickerWithoutAForumLeavesNothingChosen)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const auto editor = openEditor();
    typeInField(editor->messageTitle(), QStringLiteral("Hello"));
    writeText(editor.get(), QStringLiteral("Hello all"));
    press(editor->navigationItem()->rightBarButtonItem());

    clickSegment(editor->publishArea()->publishIn(), EditorPublishArea::Forum);
    finishMoving();
    ASSERT_NE(topAs<SelectForumController>(), nullptr);
    back();
    EXPECT_EQ(editor->publishArea()->publishIn()->selectedSegmentIndex(), -1);
    EXPECT_EQ(editor->selContentType(), CreateContent::NoContentType);
    press(editor->navigationItem()->rightBarButtonItem());
    EXPECT_EQ(alertTitles(), QStringList{text("no_content_type_selected")}) << "not a busy sign that never stops";
    EXPECT_TRUE(named<ActivityIndicatorView>(editor, "loading")->isHidden());
    dismissAlerts();

    // Chosen, then changed: the forum and its form are dropped, the choice is back.
    auto general = std::make_shared<Forum>();
    general->setForumid(3);
    general->setTitle_clean(QStringLiteral("General Discussion"));
    editor->setForum(general);
    settleAll();
    EXPECT_NE(editor->threadBuilder(), nullptr);
    clickSegment(editor->publishArea()->changePublishBtn(), 0);
    finishMoving();
    EXPECT_EQ(editor->threadBuilder(), nullptr);
    EXPECT_EQ(editor->forum(), nullptr);
    EXPECT_FALSE(editor->publishArea()->publishView()->isHidden());
    EXPECT_EQ(editor->selContentType(), CreateContent::NoContentType);
    EXPECT_FALSE(named<Button>(editor, "tagsButton")->isEnabled());
}

TEST_F(EditorTest, LeavingAsksOnceSomethingIsWrittenAndTheAnswerTakesOnlyThisScreen)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    auto editor = openEditor();
    press(editor->navigationItem()->leftBarButtonItem());
    finishMoving();
    EXPECT_NE(top(), editor.get()) << "untouched: it goes at once";
    EXPECT_TRUE(shownAlerts().isEmpty());

    editor = openEditor();
    typeInField(editor->messageTitle(), QStringLiteral("Half a thought"));
    press(editor->navigationItem()->leftBarButtonItem());
    ASSERT_EQ(visibleAlerts(text("your_work_will_not")).size(), 1);
    EXPECT_EQ(shownAlerts().last()->title(), text("cancel_creating_content"));
    EXPECT_EQ(shownAlerts().last()->buttonTitles(), (QStringList{text("cancel"), text("discard")}));
    answerAlert(0);
    finishMoving();
    EXPECT_EQ(top(), editor.get()) << "cancel keeps it";

    // Asked again; meanwhile another screen came over it: "discard" takes this one alone.
    press(editor->navigationItem()->leftBarButtonItem());
    auto other = std::make_shared<UIViewControllerCommon>();
    navigation()->pushViewController(other, false);
    finishMoving();
    answerAlert(1);
    finishMoving();
    EXPECT_EQ(top(), other.get());
    for (const ViewControllerPtr& screen : navigation()->viewControllers())
        EXPECT_NE(screen.get(), editor.get());
    EXPECT_EQ(navigation()->viewControllers().size(), 2);
}

TEST_F(EditorTest, EscapeOnTheDiscardQuestionKeepsTheScreenAndDiscardAsksAgainAndLeaves)
{
    // Keys go where the focus is, and the focus moves only in an active window.
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    // The question shown in the window, as the program shows it.
    AlertPresenter::install();
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const auto editor = openEditor();
    // The mouse and the keys through the window system, which moves the focus
    // as for a user: the title keeps it while the question is up.
    const auto typeInTitle = [&](const QString& typed) {
        const QPointF title = editor->messageTitle()->convertPoint(editor->messageTitle()->bounds().center(), nullptr);
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, title.toPoint());
        for (const QChar c : typed)
            QTest::keyClick(window->windowHandle(), c.toLatin1());
        finishMoving();
    };
    typeInTitle(QStringLiteral("Half a thought"));
    ASSERT_EQ(editor->messageTitle()->text(), QStringLiteral("Half a thought"));
    BarButtonView* discard = navigation()->navigationBar()->leftButtonView();
    ASSERT_NE(discard, nullptr);
    tapView(discard);
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    const std::shared_ptr<AlertView> asked = AlertView::visibleAlerts().first();
    EXPECT_EQ(asked->title(), text("cancel_creating_content"));

    // Escape from the keyboard, through the window: the question's "cancel".
    QTest::keyClick(window->windowHandle(), Qt::Key_Escape);
    finishMoving();
    EXPECT_FALSE(asked->isVisible());
    EXPECT_EQ(top(), editor.get()) << "cancel keeps the screen";
    EXPECT_TRUE(visibleAlerts(text("your_work_will_not")).isEmpty()) << "the question is over";
    // The keys are the screen's again: the title takes them where they left off.
    for (const char c : {' ', 'm', 'o', 'r', 'e'})
        QTest::keyClick(window->windowHandle(), c);
    EXPECT_EQ(editor->messageTitle()->text(), QStringLiteral("Half a thought more"));

    // A question taken away with no answer at all (as its window's closing
    // does) stands in the way no more either.
    tapView(discard);
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1) << "discard asks again after Escape";
    const std::shared_ptr<AlertView> unanswered = AlertView::visibleAlerts().first();
    EXPECT_NE(unanswered, asked);
    unanswered->dismissWithoutButton();
    finishMoving();

    // "discard" asks again, and its "discard" leaves.
    tapView(discard);
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1) << "discard asks again";
    const std::shared_ptr<AlertView> again = AlertView::visibleAlerts().first();
    EXPECT_NE(again, unanswered);
    auto* overlay = qobject_cast<AlertOverlay*>(AlertPresenter::viewFor(again.get()));
    ASSERT_NE(overlay, nullptr);
    ASSERT_EQ(overlay->buttonRects().size(), 2);
    tap(overlay->buttonRects().at(1).center());
    finishMoving();
    EXPECT_FALSE(again->isVisible());
    EXPECT_NE(top(), editor.get());
    for (const ViewControllerPtr& screen : navigation()->viewControllers())
        EXPECT_NE(screen.get(), editor.get());
}

TEST_F(EditorTest, TabAndReturnGoFromTheTitleToTheTextAndBack)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const auto editor = openEditor();
    editor->messageTitle()->becomeFirstResponder();
    key(lineOf(editor->messageTitle()), Qt::Key_Tab);
    finishMoving();
    ASSERT_TRUE(editor->content()->isFirstResponder());
    EXPECT_EQ(editor->content()->text(), QString()) << "the placeholder goes as the text is entered";
    EXPECT_FALSE(named<EditorButtonStrip>(editor, "formattingStrip")->isHidden());
    // The keyboard takes no room: the text goes down to the strip at the foot.
    EXPECT_EQ(named<EditorButtonStrip>(editor, "formattingStrip")->frame().bottom(), editor->view()->bounds().height());
    EXPECT_LE(named<Button>(editor, "contentBackground")->frame().bottom(), named<EditorButtonStrip>(editor, "formattingStrip")->frame().top());
    typeInto(editOf(editor->content()), QStringLiteral("Tab to here."));
    key(editOf(editor->content()), Qt::Key_Backtab, Qt::ShiftModifier);
    finishMoving();
    EXPECT_TRUE(editor->messageTitle()->isFirstResponder());
    EXPECT_FALSE(editor->content()->isFirstResponder());
    EXPECT_EQ(editor->content()->frame(), Editor::kContentFrame);
    EXPECT_EQ(editor->messageText(), QStringLiteral("Tab to here."));
    key(lineOf(editor->messageTitle()), Qt::Key_Return);
    finishMoving();
    EXPECT_TRUE(editor->content()->isFirstResponder());
}

TEST_F(EditorTest, EveryEmoticonKeyLiesInsideItsMenuTheFirstAtTheTopRight)
{
    for (int count = 1; count <= 13; ++count) {
        SCOPED_TRACE(count);
        const QRectF menu(QPointF(0, 0), EditorFormatBar::emoticonMenuSize(count));
        for (int i = 0; i < count; ++i)
            EXPECT_TRUE(menu.contains(EditorFormatBar::emoticonKeyFrame(i, count))) << i;
        EXPECT_EQ(EditorFormatBar::emoticonKeyFrame(0, count).right(), menu.width() - 10);
        EXPECT_EQ(EditorFormatBar::emoticonKeyFrame(0, count).top(), 7);
    }
    EXPECT_EQ(EditorFormatBar::emoticonMenuSize(8), QSizeF(314, 92));
    EXPECT_EQ(EditorFormatBar::emoticonKeyFrame(6, 8), QRectF(255, 40, 49, 33));
}

TEST_F(EditorTest, TheBlogFormChangesTheEmoticonsOnlyWhenItSaysSoAndGoesWithTheScreen)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    // The forum's own answer: emoticons on, the blog choice offered.
    auto editor = openEditor();
    settleAll();
    EXPECT_EQ(editor->smileyButton()->alpha(), 1.0);
    EXPECT_EQ(editor->publishArea()->publishIn()->numberOfSegments(), 3);

    // An answer without "smiliebox" leaves the emoticons as they are.
    forum().setAnswer(BlogProbe::kMethod, QJsonObject{{QStringLiteral("response"), QJsonObject()}});
    editor = openEditor();
    settleAll();
    EXPECT_EQ(editor->smileyButton()->alpha(), 1.0);
    EXPECT_EQ(editor->publishArea()->publishIn()->numberOfSegments(), 2) << "no blog without the forum's leave";

    // One that turns them off; a refusal changes nothing.
    forum().clearControls();
    forum().setAnswer(BlogProbe::kMethod, QJsonObject{{QStringLiteral("show"), QJsonObject{{QStringLiteral("smiliebox"), 0}}},
                                                           {QStringLiteral("response"), QJsonObject()}});
    editor = openEditor();
    settleAll();
    EXPECT_EQ(editor->smileyButton()->alpha(), 0.0);
    forum().clearControls();
    forum().answerError(BlogProbe::kMethod, QStringLiteral("nopermission_loggedin"));
    editor = openEditor();
    settleAll();
    EXPECT_EQ(editor->smileyButton()->alpha(), 1.0);
    dismissAlerts();

    // A screen that goes before the answer hears nothing of it.
    forum().holdAtGate(BlogProbe::kMethod, QStringLiteral("probe"));
    const qsizetype asked = forum().requests(BlogProbe::kMethod).size();
    editor = openEditor();
    for (const QDeadlineTimer deadline(5000); forum().requests(BlogProbe::kMethod).size() == asked && !deadline.hasExpired();)
        turnEventLoop();
    ASSERT_GT(forum().requests(BlogProbe::kMethod).size(), asked) << "the probe is on its way";
    const std::weak_ptr<CreateContent> gone = editor;
    back();
    editor.reset();
    turnEventLoop();
    EXPECT_TRUE(gone.expired());
    forum().openGate(QStringLiteral("probe"));
    settleAll();
}

TEST_F(EditorTest, TheForumsVerdictIsSaidOnceAndAnAnswerToAScreenGoneChangesNothing)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    showRoot(std::make_shared<UIViewControllerCommon>());
    auto editor = pushNewContent(2);
    ASSERT_NE(editor, nullptr);
    writeAndFinish(editor.get(), QStringLiteral("News from alice"), QStringLiteral("x"));

    // Too short: the forum's preview error, said once; the screen stays as it was.
    submit(editor.get());
    EXPECT_EQ(alertMessages(), QStringList{tableText(QStringLiteral("tooshort"))});
    EXPECT_EQ(top(), editor.get());
    EXPECT_TRUE(named<ActivityIndicatorView>(editor, "loading")->isHidden());
    dismissAlerts();

    // Waiting for a moderator: no thread to open, so the screen closes at once
    // and its alert's answer later changes nothing.
    writeText(editor.get(), QStringLiteral(" Hear hear."));
    finishAndSubmit(editor.get());
    ASSERT_NE(editor->viewNewContent(), nullptr);
    EXPECT_EQ(editor->viewNewContent()->buttonTitles(), QStringList{text("ok")});
    EXPECT_NE(top(), editor.get());
    const int screens = int(navigation()->viewControllers().size());
    editor.reset();
    finishMoving();
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1) << "the news stays up for the member to read";
    EXPECT_EQ(AlertView::visibleAlerts().first()->title(), text("awaiting_approval_title"));
    EXPECT_EQ(AlertView::visibleAlerts().first()->message(), text("thread_awaits_approval"));
    answerAlert(0);
    finishMoving();
    EXPECT_EQ(navigation()->viewControllers().size(), screens);

    // A thread that can be opened, but the screen was taken away first: "view post" opens nothing.
    editor = pushNewContent(3);
    ASSERT_NE(editor, nullptr);
    typeInField(editor->messageTitle(), QStringLiteral("Open for all"));
    writeText(editor.get(), QStringLiteral("Straight in."));
    finishAndSubmit(editor.get());
    ASSERT_NE(editor->viewNewContent(), nullptr);
    ASSERT_EQ(editor->viewNewContent()->buttonTitles().size(), 2);
    back();
    answerAlert(0);
    finishMoving();
    EXPECT_EQ(navigation()->viewControllers().size(), screens);
    EXPECT_EQ(topAs<PostController>(), nullptr);
}

TEST_F(EditorTest, TheNewThreadEditorOpensInItsTitleAndEveryPickerGivesTheKeyboardBackToItsRow)
{
    ImagePickerStub machine(true, false);
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const auto threads = openForum(3, QStringLiteral("General Discussion"));
    auto* editor = openFromBar<CreateContent>(threads.get());
    ASSERT_NE(editor, nullptr);

    // Opened: the keys go to the title, with no click first.
    EXPECT_TRUE(editor->messageTitle()->isFirstResponder());
    UserInput::type(QStringLiteral("Harbour at dawn"), window.get());
    finishMoving();
    EXPECT_EQ(editor->messageTitle()->text(), QStringLiteral("Harbour at dawn"));
    picture("editor-opens-in-title.png");

    // Tab: the prefix row, whose list opens with Space and has the keys;
    // chosen with Return, the keyboard is back on the row.
    keys(Qt::Key_Tab);
    ASSERT_TRUE(focusIsOn(editor->selectPrefixButton()));
    keys(Qt::Key_Space);
    auto* prefixes = topAs<SelectThreadPrefix>();
    ASSERT_NE(prefixes, nullptr);
    EXPECT_TRUE(prefixes->table()->isFirstResponder()) << "the list has the keys as it opens";
    keys(Qt::Key_Down);
    keys(Qt::Key_Return);
    ASSERT_EQ(top(), editor);
    EXPECT_FALSE(editor->prefixTitle()->text().isEmpty());
    EXPECT_TRUE(focusIsOn(editor->selectPrefixButton()));

    // On to the text: a space typed there is a space.
    keys(Qt::Key_Tab);
    ASSERT_TRUE(editor->content()->isFirstResponder());
    UserInput::type(QStringLiteral("Two shots"), window.get());
    finishMoving();
    EXPECT_EQ(editor->messageText(), QStringLiteral("Two shots"));
    press(editor->navigationItem()->rightBarButtonItem());  // done

    // Tags, from the mouse: back on the tags button, not on the bar.
    ASSERT_NO_FATAL_FAILURE(writeTags(editor, QStringLiteral("harbour")));
    ASSERT_EQ(top(), editor);
    EXPECT_TRUE(focusIsOn(named<Button>(editor, "tagsButton")));

    // The video prompt, ended with Return: its menu has closed, so the
    // keyboard is on the attachment button that opened it.
    tapView(named<Button>(editor, "addAttachment"));
    tapView(named<Button>(editor, "addVideo"));
    finishMoving();
    auto* prompt = topAs<InsertTextController>();
    ASSERT_NE(prompt, nullptr);
    typeInto(lineOf(prompt->input()), QStringLiteral("https://video.example/dawn"));
    key(lineOf(prompt->input()), Qt::Key_Return);
    finishMoving();
    ASSERT_EQ(top(), editor);
    EXPECT_TRUE(focusIsOn(named<Button>(editor, "addAttachment")));

    // Another forum from the picker, chosen with the keys: the keyboard is on
    // the publish row, whose "change" now stands where the choice stood.
    clickSegment(editor->publishArea()->changePublishBtn(), 0);
    finishMoving();
    clickSegment(editor->publishArea()->publishIn(), EditorPublishArea::Forum);
    finishMoving();
    auto* picker = topAs<SelectForumController>();
    ASSERT_NE(picker, nullptr);
    settleAll();
    EXPECT_TRUE(picker->forumTable()->isFirstResponder());
    keys(Qt::Key_Down);
    keys(Qt::Key_Return);
    settleAll();
    ASSERT_EQ(top(), editor);
    EXPECT_EQ(editor->selContentType(), CreateContent::ThreadContent);
    EXPECT_TRUE(focusIsOn(editor->publishArea()->changePublishBtn()));
    EXPECT_TRUE(focusOffTheBar());
    picture("editor-back-from-forum-picker.png");
}

TEST_F(EditorTest, TheFirstTabOfAReplyGoesToItsTextAndASpaceOnDiscardAsksWheneverAnythingIsWritten)
{
    // The question drawn in the window, answered from the keyboard.
    AlertPresenter::install();
    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    auto page = openThread(307);
    auto* reply = openFromBar<Reply>(page.get());
    ASSERT_NE(reply, nullptr);

    // Opened in its title; the first Tab goes to the text, not to "discard",
    // and what is typed there stays there.
    EXPECT_TRUE(reply->messageTitle()->isFirstResponder());
    keys(Qt::Key_Tab);
    ASSERT_TRUE(reply->content()->isFirstResponder());
    UserInput::type(QStringLiteral("Thanks a lot"), window.get());
    finishMoving();
    EXPECT_EQ(reply->messageText(), QStringLiteral("Thanks a lot"));
    EXPECT_EQ(top(), reply);

    // On "discard", a space asks first; Escape keeps the reply.
    ASSERT_TRUE(tabUntil([&] { return focusIsOn(reply->navigationItem()->leftBarButtonItem()); }, true));
    keys(Qt::Key_Space);
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    EXPECT_EQ(AlertView::visibleAlerts().first()->title(), text("cancel_creating_content"));
    picture("reply-discard-question.png");
    keys(Qt::Key_Escape);
    EXPECT_EQ(top(), reply);
    EXPECT_EQ(reply->messageText(), QStringLiteral("Thanks a lot"));
    // Return on the question keeps the work too: only a press of Discard loses it.
    ASSERT_TRUE(tabUntil([&] { return focusIsOn(reply->navigationItem()->leftBarButtonItem()); }, true));
    keys(Qt::Key_Space);
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    keys(Qt::Key_Return);
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
    EXPECT_EQ(top(), reply);
    EXPECT_EQ(reply->messageText(), QStringLiteral("Thanks a lot"));
    page.reset();

    // Tags alone are written work too.
    const auto threads = openForum(3, QStringLiteral("General Discussion"));
    auto* editor = openFromBar<CreateContent>(threads.get());
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->messageTitle()->isFirstResponder());
    ASSERT_NO_FATAL_FAILURE(writeTags(editor, QStringLiteral("night, harbour")));
    ASSERT_EQ(top(), editor);
    ASSERT_TRUE(focusIsOn(named<Button>(editor, "tagsButton")));
    // On round, past the rows below, to "discard" at the top; the text untouched.
    ASSERT_TRUE(tabUntil([&] { return focusIsOn(editor->navigationItem()->leftBarButtonItem()); }));
    ASSERT_FALSE(editor->draft().isTextTouched());
    keys(Qt::Key_Space);
    EXPECT_EQ(top(), editor) << "the tags were not thrown away unasked";
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    keys(Qt::Key_Escape);
    EXPECT_EQ(named<Label>(editor, "tagsList")->text(), QStringLiteral("night, harbour"));
}

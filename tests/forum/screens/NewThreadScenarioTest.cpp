#include "ComposeScreenTest.h"
#include "NamedView.h"
#include "forum/screens/EditorButtonStrip.h"
#include "forum/screens/EditorFormatBar.h"

#include "app/widgets/SegmentControlHidding.h"
#include "forum/cells/SelectForumCell.h"
#include "forum/model/Post.h"
#include "forum/screens/CreateContent.h"
#include "forum/screens/EditorButtonStrip.h"
#include "forum/screens/EditorPublishArea.h"
#include "forum/screens/PostController.h"
#include "forum/screens/SelectForumController.h"
#include "forum/screens/SelectThreadPrefix.h"
#include "forum/screens/ThreadController.h"
#include "forum/screens/ContentTags.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

#include <QJsonArray>
#include <QJsonObject>

// A member starts a thread from a forum's thread list: a prefix, tags, two
// pictures, formatting chosen from the strip; the thread is read back in the
// list and on its own page with its pictures.
namespace {

class NewThreadScenarioTest : public ComposeScreenTest {};

}  // namespace

TEST_F(NewThreadScenarioTest, ANewThreadWithAPrefixTagsAndTwoPicturesIsReadBackInItsListAndOnItsPage)
{
    ImagePickerStub machine(true, false);
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const auto threads = openForum(3, QStringLiteral("General Discussion"));

    // The list's compose button opens the editor on this forum; its form is asked for at once.
    press(threads->navigationItem()->rightBarButtonItem());
    finishMoving();
    auto* editor = topAs<CreateContent>();
    ASSERT_NE(editor, nullptr);
    ASSERT_NE(editor->forum(), nullptr);
    EXPECT_EQ(editor->forum()->forumid(), 3);
    EXPECT_EQ(editor->selContentType(), CreateContent::ThreadContent);
    EXPECT_EQ(editor->publishArea()->shownTarget(), editor->publishArea()->selectedForumInfo());
    EXPECT_EQ(editor->publishArea()->forumName()->text(), QStringLiteral("General Discussion"));
    EXPECT_EQ(editor->content()->text(), text("placeholder_content"));
    settleAll();
    EXPECT_EQ(requestsOf("newthread_newthread").size(), 1);
    EXPECT_EQ(requestsOf("newthread_newthread").last().field(QStringLiteral("forumid")), QStringLiteral("3"));
    EXPECT_TRUE(editor->selectPrefixButton()->isEnabled()) << "the forum offers prefixes";
    EXPECT_TRUE(named<Button>(editor, "tagsButton")->isEnabled());
    EXPECT_FALSE(named<Button>(editor, "addAttachment")->isHidden());

    // The prefix, from the forum's groups; a group of one prefix shows its one row.
    tapView(editor->selectPrefixButton());
    finishMoving();
    auto* prefixes = topAs<SelectThreadPrefix>();
    ASSERT_NE(prefixes, nullptr);
    ASSERT_EQ(prefixes->table()->numberOfSections(), 3);
    EXPECT_EQ(prefixes->table()->numberOfRowsInSection(0), 3);
    EXPECT_EQ(prefixes->table()->numberOfRowsInSection(2), 1);
    picture("select-thread-prefix.png");
    tapRow(prefixes->table(), IndexPath{2, 0});
    ASSERT_EQ(top(), editor);
    EXPECT_EQ(editor->prefixTitle()->text(), QStringLiteral("How-to"));
    EXPECT_EQ(editor->threadBuilder()->threadPrefix(), QStringLiteral("howto"));

    // Tags, on their own screen.
    ASSERT_NO_FATAL_FAILURE(writeTags(editor, QStringLiteral("harbour, dawn")));
    ASSERT_EQ(top(), editor);
    EXPECT_EQ(named<Label>(editor, "tagsList")->text(), QStringLiteral("harbour, dawn"));

    // The title, then Return goes on to the text, which leaves its placeholder.
    typeInField(editor->messageTitle(), QStringLiteral("Harbour at dawn: which one?"));
    key(lineOf(editor->messageTitle()), Qt::Key_Return);
    finishMoving();
    ASSERT_TRUE(editor->content()->isFirstResponder());
    EXPECT_EQ(editor->content()->text(), QString());
    EXPECT_FALSE(named<EditorButtonStrip>(editor, "formattingStrip")->isHidden()) << "the formatting strip comes with the text";
    EXPECT_EQ(named<EditorButtonStrip>(editor, "formattingStrip")->frame().right(), 320);
    EXPECT_EQ(editor->navigationItem()->rightBarButtonItem()->title(), text("done"));
    typeInto(editOf(editor->content()), QStringLiteral("Two shots from this morning. Which one?"));

    // Bold over a word chosen with the mouse, from the strip's style menu.
    const QString typed = editor->content()->text();
    const int which = int(typed.indexOf(QStringLiteral("Which")));
    dragSelect(editor->content(), which, which + 5);
    EXPECT_EQ(editor->content()->selectedRange(), (TextRange{which, 5}));
    tapView(named<EditorButtonStrip>(editor, "formattingStrip")->fontStyleButton());
    ASSERT_FALSE(named<EditorFormatBar>(editor, "formatBar")->fontStyleMenu()->isHidden());
    ASSERT_TRUE(editor->content()->isFirstResponder()) << "the strip leaves the text being edited";
    tapView(named<EditorFormatBar>(editor, "formatBar")->fontStyleMenu()->subviews().at(1));
    EXPECT_EQ(editor->content()->text(), QStringLiteral("Two shots from this morning. [B]Which[/B] one?"));
    EXPECT_TRUE(named<EditorFormatBar>(editor, "formatBar")->isHidden());

    // An emoticon at the caret, from the emoticon menu.
    editor->content()->setSelectedRange(TextRange{int(editor->content()->text().size()), 0});
    tapView(named<EditorButtonStrip>(editor, "formattingStrip")->smileyButton());
    ASSERT_FALSE(named<EditorFormatBar>(editor, "formatBar")->emoticonMenu()->isHidden());
    picture("editor-smilies.png");
    tapView(named<EditorFormatBar>(editor, "formatBar")->emoticonButton(0));
    EXPECT_EQ(editor->content()->text(), QStringLiteral("Two shots from this morning. [B]Which[/B] one?:)"));

    // "done" ends the editing; two pictures from the library.
    press(editor->navigationItem()->rightBarButtonItem());
    finishMoving();
    EXPECT_FALSE(editor->content()->isFirstResponder());
    EXPECT_EQ(editor->content()->frame(), Editor::kContentFrame);
    EXPECT_EQ(editor->navigationItem()->rightBarButtonItem()->title(), text("submit"));
    attachPicture(editor, machine, pictureFile("first.png", QColor(0xE0, 0x60, 0x20)));
    attachPicture(editor, machine, pictureFile("second.png", QColor(0x20, 0x60, 0xE0), QSize(90, 120)));
    ASSERT_EQ(editor->draft().attachments().size(), 2);
    EXPECT_FALSE(named<TableView>(editor, "mediaList")->isHidden());
    EXPECT_EQ(named<TableView>(editor, "mediaList")->numberOfRowsInSection(0), 2);
    picture("editor-new-thread.png");

    // Sent: the forum made the thread, and the screen offers to open it.
    forum().clearLog();
    press(editor->navigationItem()->rightBarButtonItem());
    EXPECT_FALSE(named<ActivityIndicatorView>(editor, "loading")->isHidden());
    settleAll();
    EXPECT_EQ(requestsOf("newattachment_manageattach").size(), 2);
    ASSERT_EQ(requestsOf("newthread_postthread").size(), 1);
    const TestForumRequest posted = requestsOf("newthread_postthread").first();
    EXPECT_EQ(posted.field(QStringLiteral("subject")), QStringLiteral("Harbour at dawn: which one?"));
    EXPECT_EQ(posted.field(QStringLiteral("prefixid")), QStringLiteral("howto"));
    EXPECT_EQ(posted.field(QStringLiteral("taglist")), QStringLiteral("harbour, dawn"));
    const qint32 threadid = editor->threadBuilder()->threadid();
    ASSERT_GT(threadid, 0);
    EXPECT_TRUE(named<ActivityIndicatorView>(editor, "loading")->isHidden());
    ASSERT_NE(editor->viewNewContent(), nullptr);
    EXPECT_EQ(editor->viewNewContent()->buttonTitles(), (QStringList{text("view_post"), text("create_go_home")}));
    EXPECT_EQ(alertMessages(), QStringList{text("create_ok_thread")}) << "said once";

    // What the forum holds.
    const QJsonObject thread = forum().threadState(threadid);
    EXPECT_EQ(thread.value(QStringLiteral("prefixid")).toString(), QStringLiteral("howto"));
    EXPECT_EQ(thread.value(QStringLiteral("tags")).toArray(), (QJsonArray{QStringLiteral("harbour"), QStringLiteral("dawn")}));
    const int first = thread.value(QStringLiteral("posts")).toArray().first().toInt();
    EXPECT_EQ(forum().postState(first).value(QStringLiteral("bbcode")).toString(),
              QStringLiteral("Two shots from this morning. [B]Which[/B] one?:)"));
    EXPECT_EQ(forum().postState(first).value(QStringLiteral("attachments")).toArray().size(), 2);

    // "View post": the thread's page in the editor's place, with its two pictures.
    answerAlert(0);
    finishMoving();
    auto* page = topAs<PostController>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(navigation()->viewControllers().size(), 2) << "the editor's place";
    settleAll();
    ASSERT_FALSE(page->thread()->pages().isEmpty());
    const auto opening = std::dynamic_pointer_cast<Post>(page->postTable()->rowsForSection(0).first());
    ASSERT_NE(opening, nullptr);
    EXPECT_EQ(opening->postid(), first);
    EXPECT_EQ(opening->thumbnailattachments().size(), 2);

    // Back in the list, the new thread leads the forum's threads.
    back();
    settleAll();
    bool listed = false;
    for (const ModelPtr& row : threads->threadTable()->rowsForSection(0)) {
        if (const auto shown = std::dynamic_pointer_cast<Thread>(row))
            listed = listed || (shown->threadid() == threadid && shown->threadtitle() == QStringLiteral("Harbour at dawn: which one?"));
    }
    EXPECT_TRUE(listed);
}

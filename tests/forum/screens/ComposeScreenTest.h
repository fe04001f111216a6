#pragma once

#include "ForumScreenTest.h"
#include "NamedView.h"
#include "ControlClicks.h"
#include "ImagePickerStub.h"

#include "forum/cells/QuickReplyCell.h"
#include "forum/model/Post.h"
#include "forum/screens/ComposingScreens.h"
#include "forum/screens/ContentTags.h"
#include "forum/screens/CreateContent.h"
#include "forum/screens/Editor.h"
#include "forum/screens/PostController.h"
#include "forum/screens/Reply.h"
#include "forum/screens/ThreadController.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/TableView.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

#include "app/config/Customizer.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/TextFormat.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>

// The composing screens in a phone window on the loopback forum, registered
// as main registers them, with a machine whose only picture source is a file
// chooser the test answers. The member types, clicks and picks as a user does.
class ComposeScreenTest : public ForumScreenTest {
protected:
    void SetUp() override
    {
        ForumScreenTest::SetUp();
        ComposingScreens::registerClasses(context());
    }
    void TearDown() override
    {
        for (const QString& name : ComposingScreens::classNames()) {
            ViewControllerRegistry::unregisterClass(name);
            ScreenInputs::unregisterSetter(name);
        }
        ForumScreenTest::TearDown();
    }

    static QString text(const char* key) { return Bundle::main().localizedString(QString::fromLatin1(key)); }
    // The text under the key with the application's name, as a send whose
    // fate is open or unknown says it.
    static QString fateText(const char* key)
    {
        const Value name(Customizer::getInstance().appLabel());
        return TextFormat::fill(text(key), {name, name});
    }

    // A thread's page, as the root of the stack, its first page shown.
    std::shared_ptr<PostController> openThread(qint32 threadid)
    {
        auto page = std::make_shared<PostController>(context());
        page->setThread(Thread::initWithThreadid(threadid));
        showRoot(page);
        settleAll();
        return page;
    }
    // The quick-reply row under the last page, scrolled into sight.
    QuickReplyCell* quickReplyCell(PostController* page)
    {
        ShadowedTableView* table = page->postTable()->tableView();
        const IndexPath last{0, table->numberOfRowsInSection(0) - 1};
        table->scrollToRowAtIndexPath(last, TableViewScrollPosition::Bottom, false);
        finishMoving();
        return dynamic_cast<QuickReplyCell*>(table->cellForRowAtIndexPath(last));
    }
    // What the forum holds: a thread's posts, a post's text.
    QList<int> postsOf(qint32 threadid)
    {
        QList<int> ids;
        for (const QJsonValue& id : forum().threadState(threadid).value(QStringLiteral("posts")).toArray())
            ids.append(id.toInt());
        return ids;
    }
    QString bbcodeOf(int postid)
    {
        return forum().postState(postid).value(QStringLiteral("bbcode")).toString();
    }
    // How many posts of the thread carry the text.
    int postsWithText(qint32 threadid, const QString& text)
    {
        int found = 0;
        for (const int postid : postsOf(threadid))
            found += bbcodeOf(postid) == text ? 1 : 0;
        return found;
    }
    // Whether the thread page shows the post among its rows.
    static bool shows(PostController* page, qint32 postid)
    {
        PaginableTableView* posts = page->postTable();
        for (int section = 0; section < posts->tableView()->numberOfSections(); ++section) {
            for (const ModelPtr& row : posts->rowsForSection(section)) {
                const auto post = std::dynamic_pointer_cast<Post>(row);
                if (post && post->postid() == postid)
                    return true;
            }
        }
        return false;
    }

    // Keys typed into the input, which has the keyboard as a click gave it.
    void typeInto(QWidget* input, const QString& typed)
    {
        ASSERT_NE(input, nullptr);
        ASSERT_TRUE(input->hasFocus()) << "keys go to the input that has the keyboard";
        UserInput::type(typed, window.get());
        TestSupport::processEvents();
    }
    void key(QWidget* input, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        ASSERT_NE(input, nullptr);
        ASSERT_TRUE(input->hasFocus()) << "keys go to the input that has the keyboard";
        UserInput::key(key, modifiers, QString(), window.get());
        TestSupport::processEvents();
    }
    static QLineEdit* lineOf(TextField* field) { return field ? field->findChild<QLineEdit*>() : nullptr; }
    static QPlainTextEdit* editOf(TextView* view) { return view ? view->findChild<QPlainTextEdit*>() : nullptr; }
    // Clicks into the field and types, as the user does.
    void typeInField(TextField* field, const QString& typed)
    {
        tapView(field);
        typeInto(lineOf(field), typed);
    }
    // A click into a text, which takes the keyboard.
    void clickInto(TextView* view)
    {
        tapView(view);
        ASSERT_TRUE(view->isFirstResponder()) << "a click into the text gave it no keyboard";
        finishMoving();
    }
    // The window point of a character of a text view.
    static QPointF pointOfCharacter(TextView* view, int position)
    {
        QPlainTextEdit* edit = editOf(view);
        QTextCursor cursor(edit->document());
        cursor.setPosition(position);
        const QRect caret = edit->cursorRect(cursor);
        const QPoint inWindow = edit->viewport()->mapTo(edit->window(), caret.center());
        return QPointF(inWindow) / 1.0;
    }
    // A mouse drag over the text from one character to another.
    void dragSelect(TextView* view, int from, int to)
    {
        const QPointF start = pointOfCharacter(view, from);
        const QPointF end = pointOfCharacter(view, to);
        UserInput::press(window.get(), start);
        UserInput::move(window.get(), end);
        UserInput::release(window.get(), end);
        TestSupport::processEvents();
    }
    void press(const std::shared_ptr<BarButtonItem>& item)
    {
        ASSERT_NE(item, nullptr);
        ASSERT_TRUE(item->isEnabled());
        clickBarButton(window.get(), item);
    }
    void picture(const char* name)
    {
        finishMoving();
        ASSERT_TRUE(Screenshot::savePNG(window.get(), TestSupport::galleryPath(QString::fromLatin1(name))));
    }
    QString pictureFile(const char* name, const QColor& colour, const QSize& size = QSize(120, 90))
    {
        const QString path = files.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(ImagePickerStub::writePicture(path, size, colour));
        return path;
    }
    // The screen the bar's right button opens (compose on a list, add on a
    // thread), once its form has come; null when it is not that screen.
    template <typename Screen>
    Screen* openFromBar(ViewController* from)
    {
        press(from->navigationItem()->rightBarButtonItem());
        finishMoving();
        auto* screen = topAs<Screen>();
        settleAll();
        return screen;
    }
    // The new-content editor on a forum (its name shown when given), pushed
    // over what is shown; null when the screen cannot be made.
    std::shared_ptr<CreateContent> pushNewContent(qint32 forumid, const QString& forumTitle = QString())
    {
        auto target = std::make_shared<Forum>();
        target->setForumid(forumid);
        if (!forumTitle.isEmpty())
            target->setTitle_clean(forumTitle);
        auto editor = std::dynamic_pointer_cast<CreateContent>(ScreenInputs::create(QStringLiteral("CreateContent"), target));
        if (!editor)
            return nullptr;
        navigation()->pushViewController(editor, true);
        settleAll();
        return editor;
    }
    // A click into the editor's text, and keys typed there.
    void writeText(Editor* editor, const QString& typed)
    {
        clickInto(editor->content());
        typeInto(editOf(editor->content()), typed);
    }
    // The same after what the text holds already.
    void appendText(Editor* editor, const QString& typed)
    {
        clickInto(editor->content());
        editOf(editor->content())->moveCursor(QTextCursor::End);
        typeInto(editOf(editor->content()), typed);
    }
    // Title, then text, and "done" ends the editing.
    void writeAndFinish(Editor* editor, const QString& title, const QString& message)
    {
        typeInField(editor->messageTitle(), title);
        writeText(editor, message);
        press(editor->navigationItem()->rightBarButtonItem());
        finishMoving();
    }
    // The reply editor from the thread's add button, its text typed and
    // "done"; null when no reply editor opened.
    Reply* writeReply(PostController* page, const QString& typed)
    {
        auto* reply = openFromBar<Reply>(page);
        if (reply) {
            writeText(reply, typed);
            press(reply->navigationItem()->rightBarButtonItem());
        }
        return reply;
    }
    // The tags screen from the editor's tags button, the tags typed and "done".
    void writeTags(Editor* editor, const QString& typed)
    {
        tapView(named<Button>(editor, "tagsButton"));
        finishMoving();
        auto* tags = topAs<ContentTags>();
        ASSERT_NE(tags, nullptr);
        typeInto(editOf(tags->tags()), typed);
        press(tags->navigationItem()->rightBarButtonItem());
        finishMoving();
    }
    // "submit", and the forum's answer.
    void submit(Editor* editor)
    {
        press(editor->navigationItem()->rightBarButtonItem());
        settleAll();
    }
    // "done" ends the editing, then "submit".
    void finishAndSubmit(Editor* editor)
    {
        press(editor->navigationItem()->rightBarButtonItem());
        submit(editor);
    }

    // Nothing went: the editor is still up, no longer busy, with what was typed.
    void expectStillWritten(Editor* editor, const QString& title, const QString& message)
    {
        EXPECT_EQ(top(), editor);
        EXPECT_TRUE(named<ActivityIndicatorView>(editor, "loading")->isHidden());
        EXPECT_EQ(editor->messageTitle()->text(), title);
        EXPECT_EQ(editor->messageText(), message);
    }
    // Picks a picture file through the editor's attachment button.
    void attachPicture(Editor* editor, ImagePickerStub& machine, const QString& path)
    {
        tapView(named<Button>(editor, "addAttachment"));
        ASSERT_FALSE(named<View>(editor, "attachmentMenu")->isHidden());
        tapView(named<Button>(editor, "addImage"));
        finishMoving();
        ASSERT_TRUE(machine.isAsking());
        machine.choose(path);
        finishMoving();
    }
    // A click on a button of the alert on top, where the presenter draws it
    // (AlertPresenter installed).
    void clickAlertButton(int index)
    {
        const QList<std::shared_ptr<AlertView>> alerts = AlertView::visibleAlerts();
        ASSERT_FALSE(alerts.isEmpty());
        auto* overlay = qobject_cast<AlertOverlay*>(AlertPresenter::viewFor(alerts.last().get()));
        ASSERT_NE(overlay, nullptr) << "no alert drawn: the presenter is not installed";
        ASSERT_LT(index, overlay->buttonRects().size());
        tap(overlay->convertPoint(overlay->buttonRects().at(index).center(), nullptr));
        finishMoving();
    }
    // Answers the alert on top with one of its buttons.
    static void answerAlert(int index)
    {
        const QList<std::shared_ptr<AlertView>> alerts = AlertView::visibleAlerts();
        ASSERT_FALSE(alerts.isEmpty());
        alerts.last()->dismissWithClickedButtonIndex(index);
    }

    QTemporaryDir files;
};

#pragma once

#include "ForumScreenTest.h"
#include "NamedView.h"
#include "ControlClicks.h"
#include "ImagePickerStub.h"

#include "forum/cells/QuickReplyCell.h"
#include "forum/screens/ComposingScreens.h"
#include "forum/screens/Editor.h"
#include "forum/screens/PostController.h"
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

#include "platform/foundation/Bundle.h"

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
        ComposingScreens::registerClasses();
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

    // A forum's thread list, as the root of the stack, its first page shown.
    std::shared_ptr<ThreadController> openForum(qint32 forumid, const QString& title)
    {
        auto forumModel = std::make_shared<Forum>();
        forumModel->setForumid(forumid);
        forumModel->setTitle_clean(title);
        auto threads = std::make_shared<ThreadController>();
        threads->setForum(forumModel);
        showRoot(threads);
        settleAll();
        return threads;
    }
    // A thread's page, as the root of the stack, its first page shown.
    std::shared_ptr<PostController> openThread(qint32 threadid)
    {
        auto page = std::make_shared<PostController>();
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

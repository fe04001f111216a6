#pragma once

#include "AppScenario.h"
#include "ShownPixels.h"
#include "XInput.h"

#include "app/screens/GlobalNavigationViewController.h"
#include "app/screens/MurmoraViewController.h"
#include "forum/cells/QuickReplyCell.h"
#include "forum/model/Thread.h"
#include "forum/screens/ForumController.h"
#include "forum/screens/HomeController.h"
#include "forum/screens/PostController.h"
#include "forum/screens/ThreadController.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/TextField.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <functional>

// A member who leaves the mouse alone once the screen is open. On an X
// display (QT_QPA_PLATFORM=xcb, as scripts/check-on-x.sh runs the walks)
// every key goes through the X server, as a user's does; elsewhere through
// the window's queue. Where the keys are is judged by what the window shows:
// the focus mark's blue round a control, the selection's blue on a list's
// chosen row, a caret in a text.
class KeyboardScenario : public AppScenario {
protected:
    static QWidget* focused() { return QApplication::focusWidget(); }

    // Keys as the keyboard sends them, to whatever has the focus.
    static void key(Qt::Key pressed, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        if (XInput::available()) {
            EXPECT_TRUE(XInput::key(Window::keyWindow(), pressed, modifiers)) << "the key reached the window";
        } else {
            ScreenTest::key(pressed, modifiers);
        }
    }
    static void typeKeys(const QString& text)
    {
        if (XInput::available()) {
            EXPECT_TRUE(XInput::type(Window::keyWindow(), text)) << "the keys reached the window";
        } else {
            ScreenTest::typeKeys(text);
        }
    }
    static void tab(bool forward = true)
    {
        key(forward ? Qt::Key_Tab : Qt::Key_Backtab, forward ? Qt::NoModifier : Qt::ShiftModifier);
        finishAnimations();
    }
    // Tab (or Shift+Tab) until the condition holds; false when a round of
    // the screen never met it.
    static bool tabUntil(const std::function<bool()>& reached, bool forward = true)
    {
        for (int presses = 0; presses < 24 && !reached(); ++presses)
            tab(forward);
        return reached();
    }
    static bool tabTo(QWidget* target, bool forward = true)
    {
        return tabUntil([&] { return focused() == target; }, forward);
    }
    // What the user sees of the focus: a caret in a text, a control's mark,
    // a list's ring or its chosen row.
    static bool showsWhereTheKeysAre()
    {
        QWidget* now = focused();
        if (!now)
            return false;
        if (now->testAttribute(Qt::WA_InputMethodEnabled))
            return true;
        if (auto* list = qobject_cast<TableView*>(now))
            return list->showsFocusRing() || list->indexPathForSelectedRow().isValid();
        auto* view = qobject_cast<View*>(now);
        return view && view->showsFocusMark();
    }
    // Tab as tabTo does, where every press must land on something the user
    // sees marked; the target is read afresh at each press, as a bar's buttons
    // and a form's rows are made anew. A text is reached when it is edited.
    static bool tabOnMarksTo(const std::function<View*()>& target, bool forward = true)
    {
        const auto reached = [&] {
            View* now = target();
            return focused() && now && (focused() == now || (qobject_cast<TextField*>(now) && now->isFirstResponder()));
        };
        for (int presses = 0; presses < 24; ++presses) {
            if (reached())
                return true;
            tab(forward);
            if (!showsWhereTheKeysAre()) {
                ADD_FAILURE() << "press " << presses + 1 << " left the keyboard on "
                              << (focused() ? focused()->metaObject()->className() : "nothing");
                return false;
            }
        }
        return reached();
    }

    // The window as the member sees it now: on X, the server's copy of it.
    static QImage shown()
    {
        ShownPixels::drawFrame(Window::keyWindow());
        return ShownPixels::shown(Window::keyWindow());
    }
    // What the window shows now, saved to the gallery under the name, to
    // be judged and looked at.
    static QImage shownPicture(const QString& name)
    {
        finishAnimations();
        const QImage image = shown();
        const QString path = TestSupport::galleryPath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_TRUE(image.save(path)) << path.toStdString();
        return image;
    }
    static QRectF onWindow(const View* view) { return view->convertRect(view->bounds(), nullptr); }
    static QColor pixelAt(const QImage& image, const QPointF& windowPoint)
    {
        const qreal scale = qreal(image.width()) / Window::kWidth;
        const QPoint at = (windowPoint * scale).toPoint();
        return image.rect().contains(at) ? image.pixelColor(at) : QColor();
    }
    // The picture wears a blue at the window point: the focus mark's or the
    // selection's.
    static bool markedAt(const QImage& image, const QPointF& point)
    {
        const QColor colour = pixelAt(image, point);
        return colour.isValid() && colour.blue() > 200 && colour.blue() - colour.red() > 80;
    }
    static bool markedAt(const QString& pictureName, const QPointF& point)
    {
        return markedAt(QImage(TestSupport::galleryPath(pictureName)), point);
    }
    // The gallery picture is near white at the window point.
    static bool lightAt(const QString& pictureName, const QPointF& point)
    {
        const QColor colour = pixelAt(QImage(TestSupport::galleryPath(pictureName)), point);
        return colour.isValid() && colour.red() > 200 && colour.green() > 200 && colour.blue() > 200;
    }
    // The row wears the list's selection colour at its left edge in the picture.
    static bool rowMarkedIn(const QString& pictureName, TableView* list, const IndexPath& row)
    {
        const QRectF rect = list->convertRect(list->rectForRowAtIndexPath(row), nullptr);
        return markedAt(pictureName, QPointF(rect.left() + 3, rect.center().y()));
    }
    // The share of the row's pixels in sight that wear the selection's blue.
    static double rowMarkShare(const QImage& image, TableView* list, const IndexPath& row)
    {
        const qreal zoom = image.width() / Window::kWidth;
        const QRectF inSight = list->convertRect(list->rectForRowAtIndexPath(row), nullptr).intersected(onWindow(list));
        const QRect pixels = QRectF(inSight.topLeft() * zoom, inSight.size() * zoom).toAlignedRect() & image.rect();
        if (pixels.isEmpty())
            return 0;
        int blue = 0;
        for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
            for (int x = pixels.left(); x <= pixels.right(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                blue += qRed(pixel) <= 30 && qGreen(pixel) >= 80 && qGreen(pixel) <= 150 && qBlue(pixel) >= 220;
            }
        }
        return blue / double(pixels.width() * pixels.height());
    }
    // The share of the row's pixels in sight that are dark, as text that
    // keeps its colour on the selection's blue is.
    static double rowDarkShare(const QImage& image, TableView* list, const IndexPath& row)
    {
        const qreal zoom = image.width() / Window::kWidth;
        const QRectF inSight = list->convertRect(list->rectForRowAtIndexPath(row), nullptr).intersected(onWindow(list));
        const QRect pixels = QRectF(inSight.topLeft() * zoom, inSight.size() * zoom).toAlignedRect() & image.rect();
        if (pixels.isEmpty())
            return 0;
        int dark = 0;
        for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
            for (int x = pixels.left(); x <= pixels.right(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                dark += qRed(pixel) < 90 && qGreen(pixel) < 90 && qBlue(pixel) < 150;
            }
        }
        return dark / double(pixels.width() * pixels.height());
    }
    // The share of the pixels along the inside of the rectangle's edges
    // that wear the keyboard mark's blue: about a third where the mark is
    // drawn round it, next to none where it is not.
    static double markShare(const QImage& image, const QRectF& rect)
    {
        const qreal scale = qreal(image.width()) / Window::kWidth;
        const QRect inner = QRectF(rect.topLeft() * scale, rect.size() * scale).toRect();
        const int band = qRound(3 * scale);
        int ring = 0;
        int blue = 0;
        for (int y = inner.top(); y <= inner.bottom(); ++y) {
            for (int x = inner.left(); x <= inner.right(); ++x) {
                const bool onEdge = x - inner.left() < band || inner.right() - x < band || y - inner.top() < band
                                    || inner.bottom() - y < band;
                if (!onEdge || !image.rect().contains(x, y))
                    continue;
                ++ring;
                const QColor c = image.pixelColor(x, y);
                blue += qAbs(c.red() - 72) < 35 && qAbs(c.green() - 150) < 35 && c.blue() > 220;
            }
        }
        return ring ? double(blue) / ring : 0;
    }
    static double markShare(const QRectF& rect) { return markShare(shown(), rect); }
    static bool marked(const View* view) { return markShare(onWindow(view)) > 0.15; }
    static bool unmarked(const View* view) { return markShare(onWindow(view)) < 0.03; }
    static bool marked(const QImage& image, const View* view) { return markShare(image, onWindow(view)) > 0.15; }
    static bool unmarked(const QImage& image, const View* view) { return markShare(image, onWindow(view)) < 0.03; }
    // The caret of the text being edited shows in the picture: a dark
    // upright stroke where the text's cursor stands. (The caret blinks;
    // the walks that judge it keep it lit.)
    static bool caretShownIn(const QImage& image)
    {
        QWidget* editor = focused();
        if (!editor || !editor->testAttribute(Qt::WA_InputMethodEnabled))
            return false;
        const QRectF caret = editor->inputMethodQuery(Qt::ImCursorRectangle).toRectF();
        const QRectF onWindow(editor->mapTo(Window::keyWindow(), caret.topLeft().toPoint()), caret.size());
        const qreal scale = qreal(image.width()) / Window::kWidth;
        const QRect pixels = QRectF(onWindow.topLeft() * scale, onWindow.size() * scale).toAlignedRect() & image.rect();
        // The darkest column of the cursor's rectangle, dark along most of it.
        int best = 0;
        for (int x = pixels.left(); x <= pixels.right(); ++x) {
            int dark = 0;
            for (int y = pixels.top(); y <= pixels.bottom(); ++y)
                dark += qGray(image.pixel(x, y)) < 90;
            best = qMax(best, dark);
        }
        return pixels.height() > 4 && best >= pixels.height() * 6 / 10;
    }
    // Whether the row is whole in the list's sight, below the header that
    // stays at the top over its section's rows.
    static bool inSight(TableView* list, const IndexPath& row)
    {
        QRectF sight = list->bounds();
        sight.setTop(sight.top() + list->rectForHeaderInSection(row.section).height());
        return row.isValid() && sight.contains(list->rectForRowAtIndexPath(row));
    }

    // Down, one press at a time, until the target row is the chosen one:
    // each press keeps a row chosen, in sight, never one before the last
    // (a page that comes in does not send the mark back to the top). With
    // `eachAnswerWaited` each page asked for is in before the next press;
    // without it the presses stop where the mark stays (on the row that
    // loads a page held back).
    static void downTo(TableView* list, const IndexPath& target, bool eachAnswerWaited)
    {
        IndexPath previous = list->indexPathForSelectedRow();
        for (int presses = 0; presses < 60 && list->indexPathForSelectedRow() != target; ++presses) {
            key(Qt::Key_Down);
            if (eachAnswerWaited) {
                settle();
                finishAnimations();
            } else {
                finishAnimations();
            }
            const IndexPath now = list->indexPathForSelectedRow();
            ASSERT_TRUE(now.isValid()) << "press " << presses + 1 << " left no row chosen";
            ASSERT_GE(now, previous) << "press " << presses + 1 << " went back to row " << now.row << " of section "
                                     << now.section;
            ASSERT_TRUE(inSight(list, now)) << "press " << presses + 1;
            EXPECT_FALSE(list->showsFocusRing());
            if (now == previous)
                return;
            previous = now;
        }
    }

    // The menu opened from the section on top by the keyboard: Tab to its
    // button, Space.
    GlobalNavigationViewController* openMenuByKeys()
    {
        auto* section = dynamic_cast<MurmoraViewController*>(topScreen());
        if (!section || !tabTo(section->navButton())) {
            ADD_FAILURE() << "Tab never reached the menu button";
            return nullptr;
        }
        EXPECT_TRUE(section->navButton()->showsFocusMark());
        key(Qt::Key_Space);
        finishAnimations();
        GlobalNavigationViewController* menu = section->globalNavigationView();
        if (!menu || !menu->isOpen())
            ADD_FAILURE() << "Space did not open the menu";
        return menu;
    }
    // From home, by the keys: the menu, Forums, and the index with the
    // keyboard on its list; null (and a failure) where a step does not come.
    ForumController* openForumsByKeys()
    {
        GlobalNavigationViewController* menu = openMenuByKeys();
        if (!menu || !tabTo(menu->forumsButton())) {
            ADD_FAILURE() << "Tab never reached the menu's forums";
            return nullptr;
        }
        key(Qt::Key_Return);
        settleAndFinish();
        auto* index = topScreenAs<ForumController>();
        if (!index || !tabTo(index->forumTable())) {
            ADD_FAILURE() << "the forum index, or Tab to its list, did not come";
            return nullptr;
        }
        return index;
    }
    // The index's row by the arrows (from no row chosen) and Return: the
    // forum's threads, settled.
    ThreadController* openForumRowByKeys(ForumController* index, int row)
    {
        for (int press = 0; press <= row; ++press)
            key(Qt::Key_Down);
        finishAnimations();
        EXPECT_EQ(index->forumTable()->indexPathForSelectedRow(), (IndexPath{0, row}));
        EXPECT_FALSE(index->forumTable()->showsFocusRing()) << "the chosen row shows where the keys are";
        key(Qt::Key_Return);
        settleAndFinish();
        return topScreenAs<ThreadController>();
    }
    // The bar's back button by Tab and Space, as the keys alone go back.
    void backByKeys()
    {
        NavigationBar* bar = delegate()->controller()->navigationBar();
        ASSERT_TRUE(tabTo(bar->backButtonView())) << "Tab never reached the back button";
        key(Qt::Key_Space);
        settleAndFinish();
    }
    // The list's row of the thread, chosen by the arrows from the row the
    // list has chosen (or from none); false (and a failure) where it is not
    // on the list or the arrows do not reach it.
    static bool chooseThreadByKeys(ThreadController* threads, qint32 threadid)
    {
        TableView* list = threads->threadTable()->tableView();
        const QList<ModelPtr> rows = threads->threadTable()->rowsForSection(0);
        int wanted = -1;
        for (int row = 0; row < rows.size() && wanted < 0; ++row) {
            const auto thread = std::dynamic_pointer_cast<Thread>(rows.at(row));
            if (thread && thread->threadid() == threadid)
                wanted = row;
        }
        if (wanted < 0 || !tabTo(list)) {
            ADD_FAILURE() << "the list's first page holds no thread " << threadid << " or Tab never reached it";
            return false;
        }
        const IndexPath target{0, wanted};
        for (int presses = 0; presses < 60 && list->indexPathForSelectedRow() != target; ++presses) {
            const IndexPath now = list->indexPathForSelectedRow();
            key(now.isValid() && target < now ? Qt::Key_Up : Qt::Key_Down);
            finishAnimations();
        }
        if (list->indexPathForSelectedRow() != target) {
            ADD_FAILURE() << "the arrows never reached thread " << threadid;
            return false;
        }
        return true;
    }
    // Return on the list's chosen row: the thread it shows opens, its first
    // page settled; null (and a failure) where another or none opened.
    PostController* openChosenThreadByKeys(ThreadController* threads)
    {
        TableView* list = threads->threadTable()->tableView();
        const IndexPath chosen = list->indexPathForSelectedRow();
        const QList<ModelPtr> rows = threads->threadTable()->rowsForSection(chosen.section);
        const auto thread = std::dynamic_pointer_cast<Thread>(rows.value(chosen.row));
        if (!thread) {
            ADD_FAILURE() << "no thread in the row the arrows reached";
            return nullptr;
        }
        key(Qt::Key_Return);
        settleAndFinish();
        auto* page = topScreenAs<PostController>();
        if (!page || !page->thread() || page->thread()->threadid() != thread->threadid()) {
            ADD_FAILURE() << "Return did not open thread " << thread->threadid();
            return nullptr;
        }
        waitUntil([&] { return !page->postTable()->rowsForSection(0).isEmpty(); });
        settleAndFinish();
        return page;
    }
    // The thread of a list reached by Tab, chosen by the arrows, opened by
    // Return.
    PostController* openThreadByKeys(ThreadController* threads, qint32 threadid)
    {
        return chooseThreadByKeys(threads, threadid) ? openChosenThreadByKeys(threads) : nullptr;
    }
    QuickReplyCell* quickReplyRow(PostController* page)
    {
        TableView* table = page->postTable()->tableView();
        return dynamic_cast<QuickReplyCell*>(
            table->cellForRowAtIndexPath(IndexPath{0, table->numberOfRowsInSection(0) - 1}));
    }
};

#include "ShownPixels.h"
#include "UiTestSupport.h"

#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextField.h"

#include "platform/foundation/AlertView.h"

#include <QKeyEvent>

namespace {

class Events : public ScrollViewDelegate, public AlertViewDelegate, public ActionSheetDelegate, public KeyboardObserver {
public:
    QStringList log;
    void scrollViewDidEndDragging(ScrollView*, bool decelerate) override
    {
        log.append(decelerate ? QStringLiteral("end, coasting") : QStringLiteral("end, still"));
    }
    void scrollViewDidEndDecelerating(ScrollView*) override { log.append(QStringLiteral("stopped")); }
    void clickedButtonAtIndex(AlertView*, int index) override { log.append(QStringLiteral("alert %1").arg(index)); }
    void clickedButtonAtIndex(ActionSheet*, int index) override { log.append(QStringLiteral("sheet %1").arg(index)); }
    void keyboardWillShow(const KeyboardInfo&) override { log.append(QStringLiteral("show")); }
    void keyboardWillHide(const KeyboardInfo&) override { log.append(QStringLiteral("hide")); }
};

class OverlayTest : public UiTest {
protected:
    ScrollView* makeScroll()
    {
        auto* scroll = new ScrollView(QRectF(0, 20, 320, 400));
        scroll->setContentSize(QSizeF(320, 4000));
        scroll->setDelegate(&events);
        window->addSubview(scroll);
        return scroll;
    }
    Events events;
};

}  // namespace

TEST_F(OverlayTest, AQuickFlickCoastsAndASlowReleaseStops)
{
    ScrollView* scroll = makeScroll();
    scroll->beginDragging(QPointF(100, 300));
    clock->advance(16);
    scroll->dragTo(QPointF(100, 200));
    scroll->endDragging();
    EXPECT_EQ(events.log, QStringList({QStringLiteral("end, coasting")}));
    const qreal released = scroll->contentOffset().y();
    clock->runOneShots();
    EXPECT_GT(scroll->contentOffset().y(), released) << "it goes on in the flick's direction";
    EXPECT_EQ(events.log.last(), QStringLiteral("stopped"));

    events.log.clear();
    scroll->beginDragging(QPointF(100, 300));
    clock->advance(16);
    scroll->dragTo(QPointF(100, 298));
    clock->advance(300);
    scroll->endDragging();
    EXPECT_EQ(events.log, QStringList({QStringLiteral("end, still")}));

    // Showing a rectangle scrolls only as far as needed.
    scroll->setContentOffset(QPointF(0, 0));
    scroll->scrollRectToVisible(QRectF(0, 500, 320, 50), false);
    EXPECT_EQ(scroll->contentOffset().y(), 150);
    scroll->scrollRectToVisible(QRectF(0, 200, 320, 50), false);
    EXPECT_EQ(scroll->contentOffset().y(), 150);
    // An inset set while dragging waits for the release to take effect.
    scroll->setContentOffset(QPointF(0, 0));
    scroll->beginDragging(QPointF(100, 100));
    scroll->dragTo(QPointF(100, 140));
    scroll->setContentInset(EdgeInsets{60, 0, 0, 0});
    EXPECT_EQ(scroll->contentOffset().y(), -40);
    EXPECT_EQ(scroll->minimumContentOffset().y(), -60);
    clock->advance(300);
    scroll->endDragging();
    clock->runOneShots();
    EXPECT_EQ(scroll->contentOffset().y(), -40) << "within the new range it stays";
}

// An opaque scroll view moved by whole points moves its drawn pixels and
// draws only what comes into view; the indicator, drawn fixed to the visible
// area between the content's stripes, must not move with them. Every frame
// of a drag, its coasting and the wheel shows what a fresh drawing shows.
TEST_F(OverlayTest, EveryFrameOfAScrollShowsWhatAFreshDrawingShows)
{
    ScrollView* scroll = makeScroll();
    scroll->setBackgroundColor(Qt::white);
    for (int i = 0; i < 60; ++i) {
        auto* stripe = new View(QRectF(10, i * 60 + 5, 280, 40));
        stripe->setBackgroundColor(i % 2 ? QColor(200, 40, 40) : QColor(40, 40, 200));
        scroll->addSubview(stripe);
    }
    ASSERT_TRUE(scroll->testAttribute(Qt::WA_OpaquePaintEvent));
    const auto frame = [&](const char* what) {
        clock->advance(16);
        turnEventLoop();
        ShownPixels::drawFrame(window.get());
        const int stale = ShownPixels::stale(window.get());
        EXPECT_EQ(stale, 0) << what << " at " << scroll->contentOffset().y();
        return stale == 0;
    };
    frame("at rest");

    // Dragged up the page by whole points, then back by half points (which
    // draw the whole view), then flicked: it coasts with the indicator shown.
    const QPointF start(150, 380);
    mouse(QEvent::MouseButtonPress, start);
    qreal dy = 0;
    for (int i = 0; i < 12 && frame("dragging"); ++i) {
        dy += 25;
        mouse(QEvent::MouseMove, start - QPointF(0, dy));
    }
    for (int i = 0; i < 4 && frame("dragging back"); ++i) {
        dy -= 7.5;
        mouse(QEvent::MouseMove, start - QPointF(0, dy));
    }
    mouse(QEvent::MouseMove, start - QPointF(0, dy + 60));
    mouse(QEvent::MouseButtonRelease, start - QPointF(0, dy + 60));
    const qreal released = scroll->contentOffset().y();
    for (int i = 0; i < 40; ++i) {
        if (!frame("coasting"))
            break;
    }
    EXPECT_GT(scroll->contentOffset().y(), released) << "the flick coasted";

    // Flicked back down, and the wheel stops the coasting: the indicator goes.
    const QPointF top(150, 100);
    mouse(QEvent::MouseButtonPress, top);
    for (int i = 1; i <= 3 && frame("flicking"); ++i)
        mouse(QEvent::MouseMove, top + QPointF(0, 40 * i));
    mouse(QEvent::MouseButtonRelease, top + QPointF(0, 120));
    for (int i = 0; i < 3; ++i) {
        if (!frame("coasting again"))
            break;
    }
    ASSERT_TRUE(scroll->isDecelerating());
    UserInput::wheel(window.get(), QPointF(150, 200), QPoint(0, -120));
    EXPECT_FALSE(scroll->isDecelerating());
    frame("the wheel stopped the coasting");

    // The wheel, a notch at a time: whole points, no indicator.
    for (int i = 0; i < 6; ++i) {
        UserInput::wheel(window.get(), QPointF(150, 200), QPoint(0, i < 3 ? -120 : 120));
        if (!frame("turning the wheel"))
            break;
    }
}

TEST_F(OverlayTest, ReturnPressesTheLastButtonAndSheetsWorkWithoutAWindow)
{
    AlertPresenter::install();
    auto alert = AlertView::create(QString(), QStringLiteral("Subscribe?"), &events,
                                   {QStringLiteral("cancel"), QStringLiteral("yes")});
    alert->show();
    UserInput::key(Qt::Key_Return, Qt::NoModifier, QString(), window.get());
    EXPECT_EQ(events.log, QStringList({QStringLiteral("alert 1")}));
    EXPECT_FALSE(AlertPresenter::pressButton(alert.get(), 0)) << "a gone alert has no buttons";

    // An alert while no window exists stays model-side only.
    window.reset();
    auto lonely = AlertView::create(QString(), QStringLiteral("m"), &events, {QStringLiteral("ok")});
    lonely->show();
    EXPECT_TRUE(lonely->isVisible());
    EXPECT_EQ(AlertPresenter::viewFor(lonely.get()), nullptr);
    lonely->dismissWithClickedButtonIndex(0);
    EXPECT_EQ(events.log.last(), QStringLiteral("alert 0"));

    auto host = std::make_unique<View>(QRectF(0, 0, 320, 480));
    auto* sheet = new ActionSheet(QStringLiteral("Move thread"), &events, QString(), QString(),
                                  {QStringLiteral("Here"), QStringLiteral("There")});
    EXPECT_EQ(sheet->cancelButtonIndex(), -1);
    sheet->showInView(host.get());
    EXPECT_EQ(sheet->superview(), host.get());
    // Straight to the sheet because it is in no window, so no window system
    // could hand it a key.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(sheet, &escape);
    EXPECT_TRUE(sheet->isVisible()) << "without a cancel button Escape chooses nothing";
    sheet->dismissWithClickedButtonIndex(1, false);
    EXPECT_EQ(events.log.last(), QStringLiteral("sheet 1"));
    sheet->dismissWithClickedButtonIndex(0, false);
    EXPECT_EQ(events.log.last(), QStringLiteral("sheet 1")) << "told once";
}

TEST_F(OverlayTest, MovingFromOneFieldToAnotherKeepsTheKeyboard)
{
    Keyboard::addObserver(&events);
    auto* name = new TextField(QRectF(20, 40, 200, 31));
    auto* password = new TextField(QRectF(20, 80, 200, 31));
    window->addSubview(name);
    window->addSubview(password);
    name->becomeFirstResponder();
    name->resignFirstResponder();
    password->becomeFirstResponder();
    EXPECT_EQ(events.log, QStringList({QStringLiteral("show"), QStringLiteral("hide"), QStringLiteral("show")}));
    EXPECT_TRUE(Keyboard::isShown());
    password->resignFirstResponder();
    EXPECT_FALSE(Keyboard::isShown());
    Keyboard::removeObserver(&events);
}

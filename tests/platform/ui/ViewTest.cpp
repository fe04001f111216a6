#include "UiTestSupport.h"

#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/StatusBar.h"

#include <QDir>
#include <QFile>

namespace {

// A view that writes down the touches it takes.
class Pad : public View {
public:
    using View::View;
    QStringList log;
    bool take = true;
    void touchesBegan(const QPointF& p) override
    {
        if (!take)
            return View::touchesBegan(p);
        log.append(QStringLiteral("began %1,%2").arg(p.x()).arg(p.y()));
    }
    void touchesEnded(const QPointF& p) override { log.append(QStringLiteral("ended %1,%2").arg(p.x()).arg(p.y())); }
    int layouts = 0;
    void layoutSubviews() override { ++layouts; }
};

class TouchScreen : public ViewController {
public:
    int ended = 0;
    void touchesEnded(const QPointF&) override { ++ended; }
};

class ViewTest : public UiTest {};

}  // namespace

TEST_F(ViewTest, FramesBoundsConversionsAndTheTree)
{
    auto* outer = new View(QRectF(10, 40, 300, 400));
    auto* inner = new View(QRectF(20, 30, 100, 50));
    outer->addSubview(inner);
    window->addSubview(outer);
    EXPECT_EQ(inner->superview(), outer);
    EXPECT_EQ(inner->bounds(), QRectF(0, 0, 100, 50));
    EXPECT_EQ(inner->convertPoint(QPointF(5, 5), nullptr), QPointF(35, 75));
    EXPECT_EQ(inner->convertPoint(QPointF(5, 5), outer), QPointF(25, 35));
    EXPECT_EQ(outer->convertPointFrom(QPointF(35, 75), nullptr), QPointF(25, 35));
    EXPECT_EQ(inner->convertRect(QRectF(0, 0, 10, 10), nullptr), QRectF(30, 70, 10, 10));
    EXPECT_EQ(inner->geometry(), QRect(20, 30, 100, 50));
    EXPECT_TRUE(inner->isDescendantOfView(outer));
    EXPECT_EQ(inner->rootView(), window.get());

    inner->setCenter(QPointF(150, 200));
    EXPECT_EQ(inner->frame(), QRectF(100, 175, 100, 50));

    // Tags, depth first from the view itself.
    auto* a = new View(QRectF(0, 0, 10, 10));
    auto* b = new View(QRectF(0, 0, 10, 10));
    a->setTag(7);
    b->setTag(7);
    inner->addSubview(a);
    outer->addSubview(b);
    EXPECT_EQ(outer->viewWithTag(7), a);
    EXPECT_EQ(outer->viewWithTag(99), nullptr);

    // Stacking order follows insertions.
    auto* c = new View(QRectF(0, 0, 10, 10));
    outer->insertSubview(c, 0);
    EXPECT_EQ(outer->subviews().first(), c);
    outer->insertSubviewAbove(c, b);
    EXPECT_EQ(outer->subviews().last(), c);
    outer->insertSubviewBelow(c, inner);
    EXPECT_EQ(outer->subviews().indexOf(c), outer->subviews().indexOf(inner) - 1);

    // A view taken off and not put back is deleted once the loop turns; one
    // put back before that stays.
    QPointer<View> dropped(a);
    QPointer<View> moved(b);
    a->removeFromSuperview();
    b->removeFromSuperview();
    outer->addSubview(b);
    turnEventLoop();
    EXPECT_TRUE(dropped.isNull());
    EXPECT_FALSE(moved.isNull());
}

TEST_F(ViewTest, SubviewsFollowTheirMasksWhenTheSuperviewResizes)
{
    auto* host = new Pad(QRectF(0, 0, 320, 416));
    auto* table = new View(QRectF(0, 0, 320, 367));
    table->setAutoresizingMask(Autoresizing::FlexibleSize);
    auto* footer = new View(QRectF(0, 367, 320, 49));
    footer->setAutoresizingMask(Autoresizing::FlexibleTopMargin | Autoresizing::FlexibleWidth);
    auto* centred = new View(QRectF(110, 180, 100, 56));
    centred->setAutoresizingMask(Autoresizing::FlexibleLeftMargin | Autoresizing::FlexibleRightMargin
                                 | Autoresizing::FlexibleTopMargin | Autoresizing::FlexibleBottomMargin);
    auto* fixed = new View(QRectF(5, 5, 20, 20));
    for (View* v : {static_cast<View*>(table), footer, centred, fixed})
        host->addSubview(v);
    const int before = host->layouts;
    host->setFrame(QRectF(0, 0, 320, 460));
    EXPECT_EQ(table->frame(), QRectF(0, 0, 320, 411));
    EXPECT_EQ(footer->frame(), QRectF(0, 411, 320, 49));
    EXPECT_EQ(centred->frame().center().y(), 230);
    EXPECT_EQ(fixed->frame(), QRectF(5, 5, 20, 20));
    EXPECT_EQ(host->layouts, before + 1) << "a size change lays the view out";
    host->setFrame(QRectF(10, 0, 320, 460));
    EXPECT_EQ(host->layouts, before + 1) << "a move does not";

    // A change is shared by the sizes of the flexible parts; parts that are
    // all nothing share it equally.
    auto* leaning = new View(QRectF(20, 0, 100, 10));
    leaning->setAutoresizingMask(Autoresizing::FlexibleLeftMargin | Autoresizing::FlexibleWidth
                                 | Autoresizing::FlexibleRightMargin);
    auto* collapsed = new View(QRectF(0, 0, 0, 10));
    collapsed->setAutoresizingMask(Autoresizing::FlexibleLeftMargin | Autoresizing::FlexibleWidth);
    host->addSubview(leaning);
    host->addSubview(collapsed);
    host->setFrame(QRectF(10, 0, 352, 460));
    EXPECT_EQ(leaning->frame(), QRectF(22, 0, 110, 10));
    EXPECT_EQ(collapsed->frame(), QRectF(16, 0, 16, 10));
    delete host;
}

TEST_F(ViewTest, TouchesGoToTheViewElseToItsScreenAndHiddenOrInertViewsTakeNone)
{
    auto screen = std::make_shared<TouchScreen>();
    window->setRootViewController(screen);
    auto* pad = new Pad(QRectF(20, 20, 100, 100));
    screen->view()->addSubview(pad);
    tap(pad->convertRect(QRectF(10, 15, 1, 1), nullptr).topLeft());
    EXPECT_EQ(pad->log, QStringList({QStringLiteral("began 10,15"), QStringLiteral("ended 10,15")}));

    // Not taken: it goes on to the root view's screen.
    pad->take = false;
    tap(pad->convertRect(QRectF(10, 15, 1, 1), nullptr).topLeft());
    EXPECT_EQ(screen->ended, 1);

    pad->take = true;
    pad->log.clear();
    pad->setUserInteractionEnabled(false);
    tap(pad->convertRect(QRectF(10, 15, 1, 1), nullptr).topLeft());
    EXPECT_TRUE(pad->log.isEmpty());
    EXPECT_EQ(screen->ended, 2) << "an inert view lets touches through to what lies beneath";
    pad->setUserInteractionEnabled(true);
    pad->setHidden(true);
    EXPECT_TRUE(pad->isHidden());
    EXPECT_FALSE(pad->isVisible());
    pad->setHidden(false);
    EXPECT_TRUE(pad->isVisible());
}

TEST_F(ViewTest, TheWindowKeepsItsStatusBarOnTopAndShowsModalScreens)
{
    auto root = std::make_shared<ViewController>();
    window->setRootViewController(root);
    EXPECT_EQ(root->view()->frame(), QRectF(0, 20, 320, 460));
    auto* overlay = new View(QRectF(0, 0, 320, 480));
    window->addSubview(overlay);
    EXPECT_EQ(window->subviews().last(), window->statusBar());
    EXPECT_EQ(window->subviews().at(window->subviews().size() - 2), overlay);

    auto modal = std::make_shared<ViewController>();
    root->presentModalViewController(modal, true);
    EXPECT_EQ(root->modalViewController(), modal.get());
    EXPECT_EQ(modal->view()->frame(), QRectF(0, 20, 320, 460));
    EXPECT_GT(modal->view()->presentationFrame().y(), 400) << "it slides up from below";
    clock->runOneShots();
    EXPECT_EQ(modal->view()->presentationFrame().y(), 20);
    EXPECT_TRUE(modal->isAppeared());
    std::weak_ptr<ViewController> weakModal = modal;
    modal->dismissModalViewControllerAnimated(false);
    modal.reset();
    EXPECT_EQ(root->modalViewController(), nullptr);
    turnEventLoop();
    EXPECT_TRUE(weakModal.expired());
}

TEST_F(ViewTest, AScreenRendersToAPictureWithoutAWindow)
{
    auto screen = std::make_shared<ViewController>();
    screen->view()->setBackgroundColor(QColor(10, 200, 30));
    auto* label = new Label(QRectF(0, 0, 320, 40));
    label->setText(QStringLiteral("Hello"));
    screen->view()->addSubview(label);
    const QImage picture = Screenshot::render(screen.get(), 2);
    EXPECT_EQ(picture.size(), QSize(640, 920));
    EXPECT_EQ(picture.pixelColor(600, 900), QColor(10, 200, 30));
    const QString path = QDir::temp().filePath(QStringLiteral("mu_screen_test.png"));
    EXPECT_TRUE(Screenshot::savePNG(screen.get(), path, 1));
    EXPECT_EQ(QImage(path).size(), QSize(320, 460));
    QFile::remove(path);
}

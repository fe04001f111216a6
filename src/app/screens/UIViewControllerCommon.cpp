#include "app/screens/UIViewControllerCommon.h"

#include "app/config/Customizer.h"
#include "services/ads/AdMediationView.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewControllerRegistry.h"
#include "platform/ui/Window.h"

#include <QCoreApplication>

namespace {

std::shared_ptr<UIViewControllerCommon>& loadedController()
{
    static std::shared_ptr<UIViewControllerCommon> loaded;
    return loaded;
}

}  // namespace

UIViewControllerCommon::UIViewControllerCommon() = default;

UIViewControllerCommon::~UIViewControllerCommon()
{
    for (QPointer<AdMediationView>* slot : {&m_headerBanner, &m_footerBanner}) {
        if (AdMediationView* banner = slot->data()) {
            banner->setDelegate(nullptr);
            if (!banner->parentWidget())
                banner->deleteLater();
        }
    }
}

void UIViewControllerCommon::viewDidLoad()
{
    ViewController::viewDidLoad();
    view()->setBackgroundColor(Customizer::getInstance().colorForKey(kColorBackground));
}

AdMediationView* UIViewControllerCommon::requestBanner(QPointer<AdMediationView>& slot)
{
    if (adMediationApplicationKey().isEmpty())
        return nullptr;
    if (AdMediationView* old = slot.data()) {
        // The slot owns its banner: the old one goes, placed or not.
        old->setDelegate(nullptr);
        if (old->parentWidget())
            old->removeFromSuperview();
        else
            old->deleteLater();
    }
    slot = AdMediationView::requestAdMediationViewWithDelegate(this);
    return slot.data();
}

AdMediationView* UIViewControllerCommon::requestHeaderBanner()
{
    return requestBanner(m_headerBanner);
}

AdMediationView* UIViewControllerCommon::requestFooterBanner()
{
    return requestBanner(m_footerBanner);
}

AdMediationView* UIViewControllerCommon::headerBanner() const
{
    return m_headerBanner.data();
}

AdMediationView* UIViewControllerCommon::footerBanner() const
{
    return m_footerBanner.data();
}

void UIViewControllerCommon::showBannerBelowView(AdMediationView* banner, View* contentView)
{
    if (!banner || !contentView)
        return;
    QRectF content = contentView->frame();
    if (!m_hasVisibleBanner) {
        content.setHeight(content.height() - banner->frame().height());
        contentView->setFrame(content);
        m_hasVisibleBanner = true;
    }
    QRectF f = banner->frame();
    f.moveTop(content.y() + content.height());
    banner->setFrame(f);
}

void UIViewControllerCommon::showBannerAboveView(AdMediationView* banner, View* view)
{
    if (!banner || !view)
        return;
    QRectF f = banner->frame();
    f.moveTop(view->frame().y() - f.height());
    banner->setFrame(f);
}

QString UIViewControllerCommon::adMediationApplicationKey()
{
    return kAdMediationApplicationKey;
}

bool UIViewControllerCommon::adMediationTestMode()
{
    return false;
}

ViewController* UIViewControllerCommon::viewControllerForPresentingModalView()
{
    Window* window = Window::keyWindow();
    return window ? window->rootViewController().get() : nullptr;
}

int UIViewControllerCommon::positionForBanner(AdMediationView* banner)
{
    return banner && banner == m_headerBanner.data() ? 1 : 2;
}

std::shared_ptr<UIViewControllerCommon> UIViewControllerCommon::loadView(const QString& className)
{
    auto screen = std::dynamic_pointer_cast<UIViewControllerCommon>(ViewControllerRegistry::create(className));
    if (!screen)
        return nullptr;
    // Below the status bar, as a screen of the whole window.
    Window* window = Window::keyWindow();
    if (window)
        screen->setPreferredViewFrame(window->applicationFrame());
    View* view = screen->view();
    if (window)
        view->setFrame(window->applicationFrame());
    showView(view);
    clearOldController();
    loadedController() = screen;
    return screen;
}

void UIViewControllerCommon::showView(View* view)
{
    if (Window* window = Window::keyWindow(); window && view)
        window->addSubview(view);
}

std::shared_ptr<UIViewControllerCommon> UIViewControllerCommon::getLoadedController()
{
    return loadedController();
}

void UIViewControllerCommon::clearOldController()
{
    std::shared_ptr<UIViewControllerCommon> old = std::move(loadedController());
    loadedController().reset();
    if (!old)
        return;
    if (old->isViewLoaded())
        old->view()->removeFromSuperview();
    QMetaObject::invokeMethod(qApp, [old]() mutable { old.reset(); }, Qt::QueuedConnection);
}

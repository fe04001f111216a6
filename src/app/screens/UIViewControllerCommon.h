#pragma once

#include "services/ads/AdMediationDelegate.h"

#include "platform/ui/ViewController.h"

#include <QPointer>

class AdMediationView;
class View;

// The base of the application's screens: the theme's background and two ad
// slots, one above and one below the content. With this application's empty
// ad key no banner is ever asked for, and the content keeps its full height.
class UIViewControllerCommon : public ViewController, public AdMediationDelegate {
public:
    UIViewControllerCommon();
    ~UIViewControllerCommon() override;

    void viewDidLoad() override;

    // Whether the screen holds something the member wrote and has not sent
    // yet, which replacing the screen stack would lose.
    virtual bool holdsUnsentWork() const { return false; }

    // The banner of a slot, or null; with the empty key, always null.
    AdMediationView* requestHeaderBanner();
    AdMediationView* requestFooterBanner();
    AdMediationView* headerBanner() const;
    AdMediationView* footerBanner() const;

    // Places a received banner under the content view, shortening the content
    // the first time only.
    void showBannerBelowView(AdMediationView* banner, View* contentView);
    // Places a banner just above a view, which keeps its frame.
    void showBannerAboveView(AdMediationView* banner, View* view);
    bool hasVisibleBanner() const { return m_hasVisibleBanner; }
    void setHasVisibleBanner(bool visible) { m_hasVisibleBanner = visible; }

    QString adMediationApplicationKey() override;
    bool adMediationTestMode() override;
    ViewController* viewControllerForPresentingModalView() override;
    int positionForBanner(AdMediationView* banner) override;

    static inline const QString kAdMediationApplicationKey = QString();

    // A stand-alone screen laid straight on the application's window, outside
    // the navigation (no screen of this application is shown so today).
    using ViewController::loadView;
    // A new screen of the class of that name (made by name, as its interface
    // file would make it), its view on the window, kept as the loaded screen
    // in place of the one before, which goes. Null, and nothing changes, when
    // no screen of this kind has the name.
    static std::shared_ptr<UIViewControllerCommon> loadView(const QString& className);
    // Adds the view to the application's window.
    static void showView(View* view);
    static std::shared_ptr<UIViewControllerCommon> getLoadedController();
    // Takes the loaded screen's view off the window and lets the screen go
    // (later on the event loop: it may be running the call that replaces it).
    static void clearOldController();

private:
    AdMediationView* requestBanner(QPointer<AdMediationView>& slot);

    QPointer<AdMediationView> m_headerBanner;
    QPointer<AdMediationView> m_footerBanner;
    bool m_hasVisibleBanner = false;
};

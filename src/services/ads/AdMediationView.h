#pragma once

#include "services/ads/AdMediationDelegate.h"

#include "platform/ui/View.h"

// The stand-in for the ad-mediation layer's banner view. It never fetches
// anything: this application's key is empty, so no screen asks for one; a
// banner asked for all the same stays empty and tells its delegate nothing.
class AdMediationView : public View {
    Q_OBJECT
public:
    static inline const QString kIncompleteDelegateException = QStringLiteral("AdMediationIncompleteDelegateException");
    static inline const QString kIncompleteDelegateReason =
        QStringLiteral("AdMediationDelegate must implement viewControllerForPresentingModalView");

    // A new banner (320 by 50) with the delegate; the caller owns it.
    static AdMediationView* requestAdMediationViewWithDelegate(AdMediationDelegate* delegate);
    // Banners asked for since the process started (tests).
    static int requestCount();

    AdMediationDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(AdMediationDelegate* delegate) { m_delegate = WeakRef<AdMediationDelegate>(delegate); }

private:
    AdMediationView();
    WeakRef<AdMediationDelegate> m_delegate;
};

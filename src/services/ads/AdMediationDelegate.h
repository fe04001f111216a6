#pragma once

#include "platform/foundation/Trackable.h"

#include <QString>

class AdMediationView;
class ViewController;

// What the ad-mediation view asks of the screen that carries it, and tells it.
class AdMediationDelegate : public virtual Trackable {
public:
    virtual QString adMediationApplicationKey() = 0;
    virtual bool adMediationTestMode() = 0;
    virtual ViewController* viewControllerForPresentingModalView() = 0;
    // 1 for a banner at the top, 2 at the bottom.
    virtual int positionForBanner(AdMediationView* banner) = 0;
    virtual void adMediationDidReceiveAd(AdMediationView* banner) {}
    virtual void adMediationDidFailToReceiveAd(AdMediationView* banner, bool usingBackup) {}
};

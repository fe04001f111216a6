#include "services/ads/AdMediationView.h"

namespace {
int g_requests = 0;
}

AdMediationView::AdMediationView() : View(QRectF(0, 0, 320, 50)) {}

AdMediationView* AdMediationView::requestAdMediationViewWithDelegate(AdMediationDelegate* delegate)
{
    ++g_requests;
    auto* view = new AdMediationView();
    view->setDelegate(delegate);
    return view;
}

int AdMediationView::requestCount()
{
    return g_requests;
}

#pragma once

#include "platform/ui/View.h"

class ImageView;
class RoundedRectView;

// The veil over the login screen while a sign-in runs: a dark panel in the
// middle with a turning wheel. Hidden until shown busy.
class LoginBusyOverlay : public View {
    Q_OBJECT
public:
    explicit LoginBusyOverlay(const QRectF& frame);

    // The panel's colours and the wheel's pace; the overlay hides.
    void load();
    void showBusy(bool busy);
    bool isBusy() const { return !isHidden(); }
    ImageView* wheel() const { return m_wheel; }

private:
    RoundedRectView* m_panel = nullptr;
    ImageView* m_wheel = nullptr;
};

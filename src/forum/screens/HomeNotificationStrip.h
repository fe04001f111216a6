#pragma once

#include "platform/ui/View.h"

class Button;
class Toolbar;

// The strip across the top of the home screen that counts the member's
// notifications; the screen wires its button to the notifications.
class HomeNotificationStrip : public View {
    Q_OBJECT
public:
    explicit HomeNotificationStrip(const QRectF& frame);

    Button* button() const { return m_text; }
    // Counts them, in the theme's notification colours.
    void showCount(int count);

private:
    Toolbar* m_background = nullptr;
    Button* m_text = nullptr;
};

#pragma once

#include "app/widgets/RoundedRectView.h"

#include <functional>

// The menu's panel of entries, as the keyboard uses it: Up and Down move
// the keys from entry to entry, round the panel, and Escape closes the menu.
class GlobalNavigationPanel : public RoundedRectView {
    Q_OBJECT
public:
    explicit GlobalNavigationPanel(const QRectF& frame);

    // Called on Escape.
    void setOnEscape(std::function<void()> escape) { m_escape = std::move(escape); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::function<void()> m_escape;
};

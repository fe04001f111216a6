#pragma once

#include "app/widgets/RoundedRectView.h"

#include <QPointer>

#include <functional>

// The menu's panel of entries, as the keyboard uses it: Up and Down move
// the keys from entry to entry, round the panel, and Escape closes the menu.
// While it is open it also hears the window: a click in the panel that hit
// no entry leaves the keys nowhere, and Escape still closes the menu and
// the arrows still reach its entries.
class GlobalNavigationPanel : public RoundedRectView {
    Q_OBJECT
public:
    explicit GlobalNavigationPanel(const QRectF& frame);

    // Called on Escape.
    void setOnEscape(std::function<void()> escape) { m_escape = std::move(escape); }
    // Called on an arrow that finds the keys outside the panel.
    void setOnArrow(std::function<void()> arrow) { m_arrow = std::move(arrow); }
    // Hears the keys the window is given while no control has them; null stops.
    void watchWindow(QWidget* window);

    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::function<void()> m_escape;
    std::function<void()> m_arrow;
    QPointer<QWidget> m_window;
};

#pragma once

#include "platform/ui/View.h"

#include <QPointer>

#include <memory>

class AlertView;
class TextField;

// Shows the model's alerts in the window: a dimmed screen with the box, its
// title, message, optional text field and buttons. Two buttons stand side by
// side (index 0 on the left); more stand in a column with index 0 at the
// bottom; the cancel button is drawn as such. A button ends the alert with
// its index. Escape is a press of the cancel button (an alert's only button
// is its cancel button), so whoever asked hears the answer as from a click;
// the keyboard's mark starts on the default button (the last one unless the
// alert names another), Tab and the arrows move it from button to button,
// and Return or Space presses the marked one. Closing the window ends every alert with no index. An alert with no button stays until its owner dismisses it, or
// Escape takes it away. When an alert goes, the focus goes back to where it
// was before the alert came, so the screen under it takes keys again.
class AlertPresenter {
public:
    // Makes the model's AlertView show here from now on.
    static void install();
    // The view showing the alert, or null.
    static View* viewFor(const AlertView* alert);
    // The presenter's widget for an alert's text field, or null.
    static TextField* textFieldFor(const AlertView* alert);
    // Presses the button as the user does (tests, keyboard).
    static bool pressButton(const AlertView* alert, int index);
};

// One alert on screen (made by the presenter).
class AlertOverlay : public View {
    Q_OBJECT
public:
    explicit AlertOverlay(const std::shared_ptr<AlertView>& alert, const QRectF& frame);

    const std::shared_ptr<AlertView>& alert() const { return m_alert; }
    TextField* textField() const { return m_field; }
    QRectF boxRect() const { return m_box; }
    QList<QRectF> buttonRects() const { return m_buttons; }
    void press(int index);
    // The button the keyboard's mark is on (Return presses it), or -1.
    int keyboardButtonIndex() const;
    // Takes the focus, remembering where it was.
    void takeFocus();
    // Gives the focus back to where it was, if that is still on screen.
    void returnFocus();

    void drawRect(QPainter& painter, const QRectF& rect) override;
    void touchesBegan(const QPointF& point) override;
    void touchesMoved(const QPointF& point) override;
    void touchesEnded(const QPointF& point) override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void layoutBox();
    int buttonAt(const QPointF& point) const;
    // The mark on the next button on screen, or the one before; round the box.
    void moveMark(bool forward);
    // While the alert is up, on top, nothing behind it takes the keyboard:
    // the focus that leaves it (or that nothing holds) comes back to it.
    void keepFocus(QWidget* now);
    bool isTopAlert() const;

    std::shared_ptr<AlertView> m_alert;
    // What had the focus before the alert came; it gets it back.
    QPointer<QWidget> m_focusBefore;
    TextField* m_field = nullptr;
    QRectF m_box;
    QRectF m_titleRect;
    QRectF m_messageRect;
    QList<QRectF> m_buttons;
    int m_pressed = -1;
    // Where the keyboard moved the mark; -1 while it is on the default button.
    int m_marked = -1;
};

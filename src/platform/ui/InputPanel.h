#pragma once

#include "platform/ui/View.h"

#include <QPointer>

#include <functional>

class Toolbar;

// A panel that slides up from the foot of the window into the keyboard's
// room, holding one input view (a picker, a date picker, a list of options,
// a text view) under a bar with a Done button; the rest of the window is
// shaded. Done, Return and Enter (keys the input view does not take itself)
// commit: the done action runs, then the panel slides down and goes. Escape
// and a click on the shade cancel: the cancel action runs, if there is one,
// and the panel goes, leaving what it edits as it was.
class InputPanel : public View {
    Q_OBJECT
public:
    // The input view's height: the keyboard's.
    static constexpr qreal kInputHeight = 216;
    static constexpr double kSlideDuration = 0.3;

    // Takes the input view over; its width becomes the window's.
    explicit InputPanel(View* input, std::function<void()> done = {}, std::function<void()> cancel = {});

    View* inputView() const { return m_input; }
    Toolbar* toolbar() const { return m_toolbar; }
    void setDoneAction(std::function<void()> done) { m_done = std::move(done); }
    void setCancelAction(std::function<void()> cancel) { m_cancel = std::move(cancel); }

    // Shows the panel in the key window and gives the input view the keyboard.
    void open();
    // As the Done button: the done action, then the panel slides away.
    void pressDone();
    // As Escape: the cancel action, then the panel slides away.
    void pressCancel();
    bool isOpen() const { return m_open; }

    // The shade takes its touches (nothing behind it is reached).
    void touchesBegan(const QPointF& point) override {}
    void touchesEnded(const QPointF& point) override;
    void layoutSubviews() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Runs the action (which may end what made the panel), then closes, once.
    void finish(const std::function<void()>& action);
    void close();

    View* m_input;
    Toolbar* m_toolbar;
    std::function<void()> m_done;
    std::function<void()> m_cancel;
    bool m_open = false;
    // What had the keyboard when the panel opened: it gets it back.
    QPointer<QWidget> m_focusBefore;
};

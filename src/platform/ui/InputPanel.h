#pragma once

#include "platform/ui/View.h"

#include <functional>

class Toolbar;

// A panel that slides up from the foot of the window into the keyboard's
// room, holding one input view (a picker, a date picker, a list of options,
// a text view) under a bar with a Done button; the rest of the window is
// shaded. Done, a tap on the shade, Return, Enter and Escape all close it
// (keys the input view does not take itself): the done action runs, then
// the panel slides down and goes.
class InputPanel : public View {
    Q_OBJECT
public:
    // The input view's height: the keyboard's.
    static constexpr qreal kInputHeight = 216;
    static constexpr double kSlideDuration = 0.3;

    // Takes the input view over; its width becomes the window's.
    explicit InputPanel(View* input, std::function<void()> done = {});

    View* inputView() const { return m_input; }
    Toolbar* toolbar() const { return m_toolbar; }
    void setDoneAction(std::function<void()> done) { m_done = std::move(done); }

    // Shows the panel in the key window and gives the input view the keyboard.
    void open();
    // As the Done button: the done action, then the panel slides away.
    void pressDone();
    bool isOpen() const { return m_open; }

    // The shade takes its touches (nothing behind it is reached).
    void touchesBegan(const QPointF& point) override {}
    void touchesEnded(const QPointF& point) override;
    void layoutSubviews() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void close();

    View* m_input;
    Toolbar* m_toolbar;
    std::function<void()> m_done;
    bool m_open = false;
};

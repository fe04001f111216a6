#include "platform/ui/Keyboard.h"

#include "platform/ui/ScrollView.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

#include <QApplication>
#include <QWidget>

#include <algorithm>

namespace {

NonRetainingSet<KeyboardObserver>& observers()
{
    static NonRetainingSet<KeyboardObserver> set;
    return set;
}

bool g_shown = false;

bool takesText(const QWidget* w)
{
    return w && w->testAttribute(Qt::WA_InputMethodEnabled) && w->isEnabled();
}

}  // namespace

void Keyboard::addObserver(KeyboardObserver* observer)
{
    observers().add(observer);
}

void Keyboard::removeObserver(KeyboardObserver* observer)
{
    observers().remove(observer);
}

bool Keyboard::isShown()
{
    return g_shown;
}

QRectF Keyboard::frame()
{
    return QRectF(0, Window::kHeight - kHeight, Window::kWidth, kHeight);
}

namespace {

ScrollView* enclosingScrollView(const View* view)
{
    for (View* v = view->superview(); v; v = v->superview()) {
        if (auto* scroll = qobject_cast<ScrollView*>(v))
            return scroll;
    }
    return nullptr;
}

// A control Tab may stop at: one the user could click now. Nothing see-through,
// nothing beneath a layer that takes no touch, nothing off the window or
// scrolled out of sight.
bool controlReachable(const View* view)
{
    if (view->bounds().isEmpty())
        return false;
    for (const View* v = view; v; v = v->superview()) {
        if (!v->isUserInteractionEnabled() || v->presentationAlpha() < 0.01)
            return false;
    }
    const QRectF onWindow = view->convertRect(view->bounds(), nullptr);
    if (!onWindow.intersects(QRectF(0, 0, Window::kWidth, Window::kHeight)))
        return false;
    for (const View* v = view->superview(); v; v = v->superview()) {
        if (qobject_cast<const ScrollView*>(v) && !onWindow.intersects(v->convertRect(v->bounds(), nullptr)))
            return false;
    }
    return true;
}

bool isStop(const View* view, Keyboard::Stops stops)
{
    if (!view->isVisible())
        return false;
    if (view->canBecomeFirstResponder())
        return view->isUserInteractionEnabled();
    return stops == Keyboard::Stops::InputsAndControls && view->acceptsKeyboardFocus() && controlReachable(view);
}

// The window's layer the focus moves in: the one that holds the view, or,
// from the window itself, the top one that has anything to stop at.
View* screenOf(View* from, Keyboard::Stops stops)
{
    if (auto* window = qobject_cast<Window*>(from)) {
        const QList<View*> layers = window->subviews();
        for (auto it = layers.rbegin(); it != layers.rend(); ++it) {
            if ((*it)->isHidden())
                continue;
            const QList<View*> inside = (*it)->findChildren<View*>();
            if (std::any_of(inside.begin(), inside.end(), [&](const View* v) { return isStop(v, stops); }))
                return *it;
        }
        return nullptr;
    }
    View* screen = from;
    while (screen->superview() && !qobject_cast<Window*>(screen->superview()))
        screen = screen->superview();
    return screen;
}

// Top to bottom by their middles (a text that grows over the one above it
// still comes after it; a bar's button and field of different heights are
// one row), and left to right along a row.
void sortInReadingOrder(QList<View*>& views)
{
    const auto middle = [](const View* view) { return view->convertRect(view->bounds(), nullptr).center(); };
    std::stable_sort(views.begin(), views.end(),
                     [&](const View* a, const View* b) { return middle(a).y() < middle(b).y(); });
    constexpr qreal kRowSlack = 4;
    for (auto row = views.begin(); row != views.end();) {
        auto end = row + 1;
        while (end != views.end() && middle(*end).y() - middle(*row).y() < kRowSlack)
            ++end;
        std::stable_sort(row, end, [&](const View* a, const View* b) { return middle(a).x() < middle(b).x(); });
        row = end;
    }
}

}  // namespace

bool Keyboard::moveFocus(View* from, bool forward, Stops stops)
{
    if (!from)
        return false;
    // An alert's field keeps the focus inside its alert.
    View* screen = screenOf(from, stops);
    if (!screen)
        return false;
    QList<View*> inputs;
    for (View* view : screen->findChildren<View*>()) {
        if (isStop(view, stops))
            inputs.append(view);
    }
    // From nothing (the window), the first or the last stop; else the one
    // beside the view that has the focus.
    const bool fromNothing = qobject_cast<Window*>(from) != nullptr;
    if (!fromNothing && !inputs.contains(from))
        inputs.append(from);
    sortInReadingOrder(inputs);
    const qsizetype count = inputs.size();
    const qsizetype at = fromNothing ? (forward ? count - 1 : 0) : inputs.indexOf(from);
    const qsizetype steps = fromNothing ? count : count - 1;
    // Round the screen, skipping inputs that decline to begin editing.
    for (qsizetype step = 1; step <= steps; ++step) {
        View* next = inputs.at((at + (forward ? step : count - step)) % count);
        // A stop that holds the view the focus leaves and answers for it (a
        // search bar round its field) would only give the focus back.
        if (next->isAncestorOf(from) && next->isFirstResponder())
            continue;
        if (giveFocus(next))
            return true;
    }
    return false;
}

bool Keyboard::giveFocus(View* view)
{
    if (view->canBecomeFirstResponder())
        return view->becomeFirstResponder();
    if (ScrollView* scroll = enclosingScrollView(view))
        scroll->scrollRectToVisible(view->convertRect(view->bounds(), scroll), false);
    // Tab focus only: a click never gives a control the focus, so its mark
    // shows only where the keyboard brought it.
    view->setFocusPolicy(Qt::TabFocus);
    view->setFocus(Qt::TabFocusReason);
    return true;
}

void Keyboard::pointerPressed()
{
    auto* focused = qobject_cast<View*>(QApplication::focusWidget());
    if (focused && focused->acceptsKeyboardFocus() && !focused->canBecomeFirstResponder())
        focused->clearFocus();
}

void Keyboard::ensureInstalled()
{
    static bool installed = false;
    if (installed || !qApp)
        return;
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app)
        return;
    installed = true;
    QObject::connect(app, &QApplication::focusChanged, app, [](QWidget*, QWidget* now) { setShown(takesText(now)); });
}

void Keyboard::setShown(bool shown)
{
    if (shown == g_shown)
        return;
    g_shown = shown;
    const QRectF on = frame();
    const QRectF off = on.translated(0, kHeight);
    KeyboardInfo info;
    info.frameBegin = shown ? off : on;
    info.frameEnd = shown ? on : off;
    observers().forEach([&](KeyboardObserver* o) {
        if (shown)
            o->keyboardWillShow(info);
        else
            o->keyboardWillHide(info);
    });
    observers().forEach([&](KeyboardObserver* o) {
        if (shown)
            o->keyboardDidShow(info);
        else
            o->keyboardDidHide(info);
    });
}

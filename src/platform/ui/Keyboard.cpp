#include "platform/ui/Keyboard.h"

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

bool Keyboard::moveFocus(View* from, bool forward)
{
    if (!from)
        return false;
    // The screen is the window's subview that holds the input: an alert's
    // field keeps the focus inside its alert.
    View* screen = from;
    while (screen->superview() && !qobject_cast<Window*>(screen->superview()))
        screen = screen->superview();
    QList<View*> inputs;
    for (View* view : screen->findChildren<View*>()) {
        if (view->canBecomeFirstResponder() && view->isVisible() && view->isUserInteractionEnabled())
            inputs.append(view);
    }
    if (!inputs.contains(from))
        inputs.append(from);
    const auto place = [](const View* view) { return view->convertRect(view->bounds(), nullptr).topLeft(); };
    std::stable_sort(inputs.begin(), inputs.end(), [&](const View* a, const View* b) {
        const QPointF pa = place(a);
        const QPointF pb = place(b);
        return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
    });
    const qsizetype count = inputs.size();
    const qsizetype at = inputs.indexOf(from);
    // Round the screen, skipping inputs that decline to begin editing.
    for (qsizetype step = 1; step < count; ++step) {
        View* next = inputs.at((at + (forward ? step : count - step)) % count);
        if (next->becomeFirstResponder())
            return true;
    }
    return false;
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

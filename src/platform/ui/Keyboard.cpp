#include "platform/ui/Keyboard.h"

#include "platform/ui/Window.h"

#include <QApplication>
#include <QWidget>

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

#include "platform/ui/Application.h"

#include "platform/ui/Window.h"

#include "platform/foundation/NetworkActivityIndicator.h"

#include <QDesktopServices>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>

Application& Application::sharedApplication()
{
    static Application* instance = new Application();
    return *instance;
}

Application::Application()
{
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
            if (m_state == State::Background)
                return;  // only restoring the window brings it back
            setApplicationState(s == Qt::ApplicationActive ? State::Active : State::Inactive);
        });
    }
}

double Application::requestedZoom(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        QString value;
        if (arg.startsWith(QStringLiteral("--zoom=")))
            value = arg.mid(7);
        else if (arg == QStringLiteral("--zoom") && i + 1 < argc)
            value = QString::fromLocal8Bit(argv[i + 1]);
        if (!value.isEmpty()) {
            bool ok = false;
            const double z = value.toDouble(&ok);
            if (ok && z >= 0.5 && z <= 8)
                return z;
        }
    }
    bool ok = false;
    const double env = qEnvironmentVariable("MU_ZOOM").toDouble(&ok);
    return ok && env >= 0.5 && env <= 8 ? env : 0;
}

double Application::zoomForScreenHeight(double logicalHeight)
{
    const double fit = logicalHeight * 0.8 / 480.0;
    return qMax(1.0, std::floor(fit * 4) / 4);
}

double Application::zoomToOpen(double requested, const QSizeF& available)
{
    // The window manager's title bar above the window, in screen pixels.
    constexpr double kTitleBar = 40;
    constexpr double kSmallest = 0.5;
    if (available.isEmpty())
        return requested > 0 ? requested : 1.0;
    const double zoom = requested > 0 ? requested : zoomForScreenHeight(available.height());
    const double fits = std::min((available.height() - kTitleBar) / Window::kHeight, available.width() / Window::kWidth);
    if (zoom <= fits)
        return zoom;
    return std::max(kSmallest, std::floor(fits * 4) / 4);
}

double Application::prepareZoom(int argc, char** argv, const QSizeF& available)
{
    const double requested = requestedZoom(argc, argv);
    if (requested <= 0 && !qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
        return qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
    const double zoom = zoomToOpen(requested, available);
    qputenv("QT_SCALE_FACTOR", QByteArray::number(zoom));
    return zoom;
}

void Application::setDelegate(ApplicationDelegate* delegate)
{
    m_delegate = WeakRef<ApplicationDelegate>(delegate);
}

void Application::addObserver(ApplicationDelegate* observer)
{
    m_observers.add(observer);
}

void Application::removeObserver(ApplicationDelegate* observer)
{
    m_observers.remove(observer);
}

template <typename F>
void Application::tell(F f)
{
    if (ApplicationDelegate* d = m_delegate.get())
        f(d);
    m_observers.forEach([&](ApplicationDelegate* o) {
        if (o != m_delegate.get())
            f(o);
    });
}

void Application::finishLaunching()
{
    tell([this](ApplicationDelegate* d) { d->applicationDidFinishLaunching(this); });
}

void Application::terminate()
{
    tell([this](ApplicationDelegate* d) { d->applicationWillTerminate(this); });
}

void Application::setApplicationState(State state)
{
    if (state == m_state)
        return;
    const State old = m_state;
    m_state = state;
    if (old == State::Active)
        tell([this](ApplicationDelegate* d) { d->applicationWillResignActive(this); });
    if (state == State::Background) {
        tell([this](ApplicationDelegate* d) { d->applicationDidEnterBackground(this); });
        return;
    }
    if (old == State::Background)
        tell([this](ApplicationDelegate* d) { d->applicationWillEnterForeground(this); });
    if (state == State::Active)
        tell([this](ApplicationDelegate* d) { d->applicationDidBecomeActive(this); });
}

bool Application::openURL(const QUrl& url)
{
    if (!canOpenURL(url))
        return false;
    if (m_openHandler)
        return m_openHandler(url);
    return QDesktopServices::openUrl(url);
}

bool Application::canOpenURL(const QUrl& url) const
{
    // The desktop would open a local file or run a handler of any other
    // scheme: only web addresses leave the application.
    const QString scheme = url.scheme();
    return url.isValid() && !url.host().isEmpty()
           && (scheme.compare(QStringLiteral("http"), Qt::CaseInsensitive) == 0
               || scheme.compare(QStringLiteral("https"), Qt::CaseInsensitive) == 0);
}

void Application::setNetworkActivityIndicatorVisible(bool visible)
{
    NetworkActivityIndicator::setVisible(visible);
}

bool Application::isNetworkActivityIndicatorVisible() const
{
    return NetworkActivityIndicator::isVisible();
}

Window* Application::keyWindow() const
{
    return Window::keyWindow();
}

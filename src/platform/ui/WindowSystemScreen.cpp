#include "platform/ui/WindowSystemScreen.h"

#include <QList>
#include <QRect>
#include <QtGlobal>

#include <xcb/randr.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

// The toolkit's pixels are 96 to the inch.
constexpr double kBaseDpi = 96;
// A server that resets takes a few milliseconds; one that is not there is
// given up on after these.
constexpr int kConnectAttempts = 30;
constexpr int kConnectPauseMs = 10;

struct Free {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, Free>;

// Whether the toolkit will start on X: the platform it is told to use, else
// its own choice on a desktop with an X display.
bool toolkitRunsOnX()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb"))
        return false;
    return !qEnvironmentVariableIsEmpty("DISPLAY");
}

// A connection to the display's server, made again while the server drops
// it (it does while it resets); null when there is none.
xcb_connection_t* connectToServer(const QByteArray& displayName, int* screenNumber)
{
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        xcb_connection_t* connection = xcb_connect(displayName.constData(), screenNumber);
        const int error = xcb_connection_has_error(connection);
        if (!error)
            return connection;
        xcb_disconnect(connection);
        // A refused cookie or a display name that names nothing stays so.
        if (error != XCB_CONN_ERROR)
            return nullptr;
        std::this_thread::sleep_for(std::chrono::milliseconds(kConnectPauseMs));
    }
    return nullptr;
}

// The primary monitor (the first one when none is marked primary); null
// when the server has no RandR 1.5.
QRect primaryMonitor(xcb_connection_t* connection, xcb_randr_query_version_cookie_t version,
                     xcb_randr_get_monitors_cookie_t monitors)
{
    const Reply<xcb_randr_query_version_reply_t> versionReply(
        xcb_randr_query_version_reply(connection, version, nullptr));
    const Reply<xcb_randr_get_monitors_reply_t> monitorsReply(
        xcb_randr_get_monitors_reply(connection, monitors, nullptr));
    if (!versionReply || versionReply->major_version < 1
        || (versionReply->major_version == 1 && versionReply->minor_version < 5) || !monitorsReply)
        return QRect();
    QRect first;
    for (auto it = xcb_randr_get_monitors_monitors_iterator(monitorsReply.get()); it.rem;
         xcb_randr_monitor_info_next(&it)) {
        const QRect monitor(it.data->x, it.data->y, it.data->width, it.data->height);
        if (it.data->primary)
            return monitor;
        if (first.isNull())
            first = monitor;
    }
    return first;
}

QByteArray propertyText(xcb_connection_t* connection, xcb_get_property_cookie_t cookie)
{
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->format != 8)
        return QByteArray();
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

// The work area's first rectangle (one per desktop, all alike); null when
// the desktop has none.
QRect workAreaOf(xcb_connection_t* connection, xcb_get_property_cookie_t cookie)
{
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 16)
        return QRect();
    const auto* values = static_cast<const quint32*>(xcb_get_property_value(reply.get()));
    return QRect(int(values[0]), int(values[1]), int(values[2]), int(values[3]));
}

// The work area's part on a monitor, in the screen's pixels: the monitor
// itself when the desktop has no work area (or it misses the monitor).
QRect availableOn(const QRect& monitor, const QRect& workArea)
{
    const QRect shared = monitor.intersected(workArea);
    return shared.isEmpty() ? monitor : shared;
}

// The "Xft.dpi" of the server's resources (RESOURCE_MANAGER), or 0.
double dpiFromResources(const QByteArray& resources)
{
    // As the toolkit reads it: "Xft.dpi:", a tab and a whole number, as the
    // resource tools write it.
    static const QByteArray kKey = QByteArrayLiteral("Xft.dpi:\t");
    for (const QByteArray& line : resources.split('\n')) {
        if (!line.startsWith(kKey))
            continue;
        bool ok = false;
        const int dpi = line.mid(kKey.size()).toInt(&ok);
        return ok && dpi > 0 ? dpi : 0;
    }
    return 0;
}

}  // namespace

void WindowSystemScreen::Disconnect::operator()(xcb_connection_t* connection) const
{
    xcb_disconnect(connection);
}

WindowSystemScreen::WindowSystemScreen() = default;
WindowSystemScreen::~WindowSystemScreen() = default;
WindowSystemScreen::WindowSystemScreen(WindowSystemScreen&&) noexcept = default;
WindowSystemScreen& WindowSystemScreen::operator=(WindowSystemScreen&&) noexcept = default;

void WindowSystemScreen::close()
{
    m_connection.reset();
}

WindowSystemScreen WindowSystemScreen::primary()
{
    return toolkitRunsOnX() ? primaryOf(qgetenv("DISPLAY")) : WindowSystemScreen();
}

WindowSystemScreen WindowSystemScreen::primaryOf(const QByteArray& displayName)
{
    WindowSystemScreen screen;
    int screenNumber = 0;
    screen.m_connection.reset(connectToServer(displayName, &screenNumber));
    xcb_connection_t* c = screen.m_connection.get();
    if (!c)
        return screen;
    xcb_screen_iterator_t roots = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && roots.rem; ++i)
        xcb_screen_next(&roots);
    if (!roots.rem)
        return screen;
    const xcb_window_t root = roots.data->root;
    const QRect whole(0, 0, roots.data->width_in_pixels, roots.data->height_in_pixels);

    // First round trip: whether the server has RandR, the work area's name
    // and the resources.
    xcb_prefetch_extension_data(c, &xcb_randr_id);
    static const char kWorkArea[] = "_NET_WORKAREA";
    const xcb_intern_atom_cookie_t workAreaAtom = xcb_intern_atom(c, true, sizeof kWorkArea - 1, kWorkArea);
    const xcb_get_property_cookie_t resources =
        xcb_get_property(c, false, root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, 16384);
    const xcb_query_extension_reply_t* randr = xcb_get_extension_data(c, &xcb_randr_id);
    const Reply<xcb_intern_atom_reply_t> workAreaName(xcb_intern_atom_reply(c, workAreaAtom, nullptr));

    // Second: the monitors and the work area.
    const bool hasRandr = randr && randr->present;
    xcb_randr_query_version_cookie_t version{};
    xcb_randr_get_monitors_cookie_t monitors{};
    if (hasRandr) {
        version = xcb_randr_query_version(c, 1, 5);
        monitors = xcb_randr_get_monitors(c, root, true);
    }
    const bool hasWorkArea = workAreaName && workAreaName->atom != XCB_ATOM_NONE;
    xcb_get_property_cookie_t workArea{};
    if (hasWorkArea)
        workArea = xcb_get_property(c, false, root, workAreaName->atom, XCB_ATOM_CARDINAL, 0, 4);

    QRect monitor = hasRandr ? primaryMonitor(c, version, monitors) : QRect();
    if (monitor.isEmpty())
        monitor = whole;
    const QRect desktop = hasWorkArea ? workAreaOf(c, workArea) : QRect();
    const double dpi = dpiFromResources(propertyText(c, resources));
    screen.m_pixelRatio = dpi > 0 ? dpi / kBaseDpi : 1.0;
    screen.m_available = QSizeF(availableOn(monitor, desktop).size()) / screen.m_pixelRatio;
    return screen;
}

#include "platform/ui/Application.h"
#include "platform/ui/WindowSystemScreen.h"

#include <QProcess>
#include <QRect>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

// The screen asked of an X server before the toolkit starts, on a virtual X
// server of the test's own (Xvfb, which the test scripts install) whose
// desktop a client of the test describes: its panels and its dots per inch.
namespace {

class VirtualXServer {
public:
    VirtualXServer()
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty())
            return;
        // It writes its display's number once it takes clients.
        m_server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                              QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                              QStringLiteral("1024x768x24")});
        while (m_server.waitForStarted() && !m_server.canReadLine() && m_server.waitForReadyRead(10000)) {
        }
        const QByteArray number = m_server.readLine().trimmed();
        if (!number.isEmpty())
            m_name = ":" + number;
    }
    ~VirtualXServer()
    {
        m_server.terminate();
        m_server.waitForFinished();
    }
    // ":N", or empty when there is no Xvfb to start.
    QByteArray name() const { return m_name; }

private:
    QProcess m_server;
    QByteArray m_name;
};

// A client that writes the root window's properties as a desktop does. While
// it is connected the server keeps them: a server resets (and forgets them)
// when its last client leaves.
class Desktop {
public:
    explicit Desktop(const QByteArray& display)
    {
        // A server that is resetting drops it: once more, a moment later.
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_connection = xcb_connect(display.constData(), nullptr);
            if (connected())
                break;
            xcb_disconnect(m_connection);
            QThread::msleep(10);
        }
        if (connected())
            m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }
    ~Desktop() { xcb_disconnect(m_connection); }
    bool connected() const { return !xcb_connection_has_error(m_connection); }

    void setResources(const QByteArray& resources)
    {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_root, XCB_ATOM_RESOURCE_MANAGER,
                            XCB_ATOM_STRING, 8, uint32_t(resources.size()), resources.constData());
        sync();
    }
    // The area the panels leave, or none.
    void setWorkArea(const QRect& area)
    {
        const xcb_atom_t atom = workAreaAtom();
        if (area.isNull()) {
            xcb_delete_property(m_connection, m_root, atom);
        } else {
            const uint32_t values[4] = {uint32_t(area.x()), uint32_t(area.y()), uint32_t(area.width()),
                                        uint32_t(area.height())};
            xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_root, atom, XCB_ATOM_CARDINAL, 32, 4,
                                values);
        }
        sync();
    }

private:
    xcb_atom_t workAreaAtom()
    {
        static const char kName[] = "_NET_WORKAREA";
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, false, std::strlen(kName), kName), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    }
    void sync() { std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr)); }

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
};

}  // namespace

TEST(WindowSystemScreenTest, TheMonitorLessThePanelsAtTheDesktopsDotsPerInchAsTheToolkitReadsThem)
{
    VirtualXServer server;
    if (server.name().isEmpty())
        GTEST_SKIP() << "no Xvfb (scripts/install-deps.sh installs it)";
    Desktop desktop(server.name());
    ASSERT_TRUE(desktop.connected());

    // No panel, no resources: the whole screen, a toolkit pixel a pixel.
    WindowSystemScreen screen = WindowSystemScreen::primaryOf(server.name());
    EXPECT_EQ(screen.available(), QSizeF(1024, 768));
    EXPECT_EQ(screen.pixelRatio(), 1.0);
    EXPECT_EQ(Application::zoomToOpen(0, screen.available()), 1.25);
    screen.close();

    // A 30-pixel panel on top and 144 dots per inch: a toolkit pixel takes
    // one and a half, 492 of them high, where only 0.75 fits.
    desktop.setWorkArea(QRect(0, 30, 1024, 738));
    desktop.setResources("Xft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1\n");
    screen = WindowSystemScreen::primaryOf(server.name());
    EXPECT_EQ(screen.pixelRatio(), 1.5);
    EXPECT_EQ(screen.available(), QSizeF(1024 / 1.5, 738 / 1.5));
    EXPECT_EQ(Application::zoomToOpen(0, screen.available()), 0.75);

    // The toolkit reads "Xft.dpi", a colon and a tab only, as the resource
    // tools write it: a hand-written space leaves its pixels alone, and so
    // does a work area beside the monitor.
    desktop.setResources("Xft.dpi: 192\n");
    desktop.setWorkArea(QRect(2000, 0, 800, 600));
    screen = WindowSystemScreen::primaryOf(server.name());
    EXPECT_EQ(screen.pixelRatio(), 1.0);
    EXPECT_EQ(screen.available(), QSizeF(1024, 768));

    // A display nobody serves: nothing known, and the toolkit says why.
    EXPECT_TRUE(WindowSystemScreen::primaryOf(":65000").available().isEmpty());
}

TEST(WindowSystemScreenTest, AServerThatResetsAsItsLastClientLeavesIsAskedAgain)
{
    VirtualXServer server;
    if (server.name().isEmpty())
        GTEST_SKIP() << "no Xvfb (scripts/install-deps.sh installs it)";
    // Each client that leaves alone resets the server, which drops a client
    // that connects meanwhile: the toolkit would end the process there.
    for (int round = 0; round < 20; ++round) {
        {
            const Desktop last(server.name());
            ASSERT_TRUE(last.connected());
        }
        WindowSystemScreen screen = WindowSystemScreen::primaryOf(server.name());
        ASSERT_EQ(screen.available(), QSizeF(1024, 768)) << "round " << round;
    }
}

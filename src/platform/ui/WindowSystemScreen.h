#pragma once

#include <QByteArray>
#include <QSizeF>

#include <memory>

struct xcb_connection_t;

// The primary screen as the X server describes it, asked directly, before the
// toolkit starts: the window's zoom must be known then (the toolkit reads it
// once, as it starts), and starting the toolkit a first time only to look at
// the screen cost a second connection and its many round trips (about 40 ms).
// This asks in two round trips.
//
// Its connection stays open until close(), which main calls once the
// toolkit's own connection is open: an X server whose last client leaves
// resets, and drops a client that connects meanwhile, and the toolkit ends
// the process when its connection is dropped. A connection of ours that is
// dropped so is made again.
//
// What it reads is what the toolkit reads: the primary monitor (RandR), the
// desktop's work area less the panels (_NET_WORKAREA) and the desktop's
// logical dots per inch ("Xft.dpi" of the server's resources), which the
// toolkit turns into its pixel ratio.
class WindowSystemScreen {
public:
    WindowSystemScreen();
    ~WindowSystemScreen();
    WindowSystemScreen(WindowSystemScreen&&) noexcept;
    WindowSystemScreen& operator=(WindowSystemScreen&&) noexcept;

    // The X display's primary screen; an empty one when the toolkit will not
    // run on X (QT_QPA_PLATFORM names another platform, no DISPLAY) or the
    // server cannot be reached (the toolkit says why when it starts).
    static WindowSystemScreen primary();
    // The primary screen of the named display (":1").
    static WindowSystemScreen primaryOf(const QByteArray& displayName);

    // The screen less its panels in the toolkit's pixels (the screen's
    // pixels over pixelRatio); empty when it is not known.
    QSizeF available() const { return m_available; }
    // The screen's pixels a toolkit pixel takes.
    double pixelRatio() const { return m_pixelRatio; }
    // Lets the connection go.
    void close();

private:
    struct Disconnect {
        void operator()(xcb_connection_t* connection) const;
    };

    std::unique_ptr<xcb_connection_t, Disconnect> m_connection;
    QSizeF m_available;
    double m_pixelRatio = 1;
};

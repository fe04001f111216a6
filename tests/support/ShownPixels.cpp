#include "ShownPixels.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

QImage ShownPixels::shown(QWidget* window)
{
    return window->screen()->grabWindow(window->winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

QImage ShownPixels::fresh(QWidget* window)
{
    return window->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int ShownPixels::stale(QWidget* window)
{
    const QImage a = shown(window);
    const QImage b = fresh(window);
    if (a.size() != b.size())
        return a.width() * a.height();
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* left = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* right = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            differing += left[x] != right[x];
    }
    return differing;
}

void ShownPixels::drawFrame(QWidget* window)
{
    QCoreApplication::processEvents();
    // Not user input: the paint request the window system itself delivers,
    // which Qt may hold back on a timer. Sent now, the frame draws what the
    // changes marked, and a test judges each frame as the user sees it.
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(window, &request);
}

#include "ShownPixels.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <cstdlib>

QImage ShownPixels::shown(QWidget* window)
{
    return window->screen()->grabWindow(window->winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

QImage ShownPixels::fresh(QWidget* window)
{
    return window->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

namespace {

// A gradient's levels are worked out from where it lies in the window: one
// moved with the content comes out a level off the same gradient drawn
// afresh where it arrived (a shadow's 184 against 185, a button's 36 against
// 37). No eye tells them apart; a stale pixel is further off.
constexpr int kUnseenLevels = 2;

bool seenApart(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) > kUnseenLevels || std::abs(qGreen(a) - qGreen(b)) > kUnseenLevels
           || std::abs(qBlue(a) - qBlue(b)) > kUnseenLevels;
}

// Calls back with each pixel the two pictures show apart; false when their
// sizes differ.
template <typename F>
bool forEachDifference(const QImage& a, const QImage& b, F f)
{
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y) {
        const auto* left = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* right = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (left[x] != right[x] && seenApart(left[x], right[x]))
                f(x, y);
        }
    }
    return true;
}

}  // namespace

int ShownPixels::stale(QWidget* window)
{
    const QImage a = shown(window);
    int differing = 0;
    if (!forEachDifference(a, fresh(window), [&](int, int) { ++differing; }))
        return a.width() * a.height();
    return differing;
}

QRect ShownPixels::staleBounds(QWidget* window)
{
    const QImage a = shown(window);
    QRect bounds;
    if (!forEachDifference(a, fresh(window), [&](int x, int y) { bounds |= QRect(x, y, 1, 1); }))
        return a.rect();
    return bounds;
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

#pragma once

#include <QImage>
#include <QRect>

class QWidget;

// What a window shows beside what it draws: the pixels kept from frame to
// frame (the backing store, or the X server's copy of the window) against a
// fresh drawing of the whole window. A frame that moved drawn pixels instead
// of drawing them again must show what the fresh drawing shows.
class ShownPixels {
public:
    static QImage shown(QWidget* window);
    static QImage fresh(QWidget* window);
    // Pixels the window shows apart from a fresh drawing, a colour more than
    // two levels off (all of them when the sizes differ).
    static int stale(QWidget* window);
    // The smallest rectangle of the window's pixels holding every stale one.
    static QRect staleBounds(QWidget* window);
    // A frame as the window draws it, now: the paint request Qt itself posts
    // (it may wait on a timer), no user input.
    static void drawFrame(QWidget* window);
};

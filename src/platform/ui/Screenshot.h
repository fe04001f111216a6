#pragma once

#include <QImage>
#include <QString>

class View;
class ViewController;

// Pictures of views and screens, for tests and the README: the view with its
// subviews, laid out and painted offscreen at the given zoom.
class Screenshot {
public:
    static QImage render(View* view, qreal zoom = 2);
    static QImage render(ViewController* controller, qreal zoom = 2);
    // Writes a PNG; false when it cannot be written.
    static bool savePNG(View* view, const QString& path, qreal zoom = 2);
    static bool savePNG(ViewController* controller, const QString& path, qreal zoom = 2);
};

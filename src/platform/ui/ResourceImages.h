#pragma once

#include <QImage>
#include <QString>

// Pictures of the application's bundle by file name ("lock.png"), as the
// platform's named images: loaded once and kept. A "@2x" version beside a
// picture is preferred, so pictures stay sharp at a zoom of 2; its size in
// points is half its size in pixels (the image's device pixel ratio).
class ResourceImages {
public:
    // A null image when the bundle has no such picture.
    static QImage named(const QString& name);
    // The size in points (pixels over the device pixel ratio).
    static QSizeF pointSize(const QImage& image);
    // Forgets the pictures loaded so far (tests that change the bundle).
    static void clearCache();
};

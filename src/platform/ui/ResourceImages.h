#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

class QPainter;

// Pictures of the application's bundle by file name ("lock.png"), as the
// platform's named images: loaded once and kept. A picture may come in two
// resolutions, "lock.png" and "lock@2x.png" beside it; its size in points is
// its size in pixels over its device pixel ratio, the same for both. Only the
// resolution the window's pixel ratio asks for is decoded: the "@2x" one where
// a point is more than one pixel. Drawing code asks for the picture to draw
// (forPainter), so that a picture drawn at a higher ratio than it was loaded
// for (a zoomed screenshot, a window moved to a sharper screen) stays sharp.
class ResourceImages {
public:
    // A null image when the bundle has no such picture.
    static QImage named(const QString& name);
    // Starts decoding pictures a screen is about to show, each on a thread
    // of its own, so that decoding overlaps the rest of the start-up; named()
    // takes them from there, waiting for one still being decoded. Nothing
    // before the toolkit's application exists: its start and a decoding
    // beside it corrupt each other's memory.
    static void prefetch(const QStringList& names);
    // What to draw for a picture through the painter: its "@2x" version when
    // the painter draws more than one pixel a point and the picture is a
    // bundle picture loaded at 1x; else the picture itself.
    static QImage forPainter(const QImage& image, const QPainter& painter);
    // The size in points (pixels over the device pixel ratio).
    static QSizeF pointSize(const QImage& image);
    // Forgets the pictures loaded so far (tests that change the bundle).
    static void clearCache();
};

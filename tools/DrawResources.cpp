// Draws every picture of the application's bundle into the resources folder,
// each at 1x and @2x:
//
//     draw_resources [resources folder, by default resources/]
//
// Run it again after changing a drawing; the pictures are committed.
#include "PictureWriter.h"
#include "Pictures.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc > 2) {
        std::fprintf(stderr, "usage: draw_resources [RESOURCES_FOLDER]\n");
        return 2;
    }
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources");
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "draw_resources: cannot make %s\n", qPrintable(folder));
        return 1;
    }
    PictureWriter pictures{QDir(folder)};
    drawAppPictures(pictures);
    drawForumPictures(pictures);
    drawPagingPictures(pictures);
    drawComposingPictures(pictures);
    return pictures.ok() ? 0 : 1;
}

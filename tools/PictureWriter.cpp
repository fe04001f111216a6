#include "PictureWriter.h"

#include <QImage>

#include <cstdio>

namespace {

QImage draw(const QSizeF& points, int scale, const PictureWriter::Drawing& drawing)
{
    QImage image((points * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    drawing(painter);
    painter.end();
    // A picture without transparency is written without an alpha channel:
    // a quarter less to inflate and unfilter when the application loads it
    // (the splash, on the way to the first frame), and faster to draw.
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) != 255)
                return image;
        }
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

void PictureWriter::add(const QString& name, const QSizeF& points, const Drawing& drawing)
{
    const QString base = name.left(name.lastIndexOf(u'.'));
    for (int scale : {1, 2}) {
        const QString file = m_folder.filePath(scale == 1 ? name : base + QStringLiteral("@2x.png"));
        if (!draw(points, scale, drawing).save(file, "PNG")) {
            std::fprintf(stderr, "draw_resources: cannot write %s\n", qPrintable(file));
            m_ok = false;
        }
    }
}

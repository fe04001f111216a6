#include "PictureWriter.h"

#include <QFile>
#include <QImage>

#include <png.h>

#include <cstdio>
#include <memory>

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

// An opaque picture is written as RGB with every row unfiltered: Qt's writer
// picks per-row filters whose undoing (Paeth above all) was half of the
// splash's decode on the way to the first frame. Unfiltered, the splash
// inflates to the same pixels in about half the time, from a smaller file.
bool writeUnfiltered(const QImage& opaque, const QString& file)
{
    const QImage rgb = opaque.convertToFormat(QImage::Format_RGB888);
    const std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(QFile::encodeName(file).constData(), "wb"), &std::fclose);
    if (!out)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, out.get());
    png_set_IHDR(png, info, png_uint_32(rgb.width()), png_uint_32(rgb.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    for (int y = 0; y < rgb.height(); ++y)
        png_write_row(png, rgb.constScanLine(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

void PictureWriter::add(const QString& name, const QSizeF& points, const Drawing& drawing)
{
    const QString base = name.left(name.lastIndexOf(u'.'));
    for (int scale : {1, 2}) {
        const QString file = m_folder.filePath(scale == 1 ? name : base + QStringLiteral("@2x.png"));
        const QImage image = draw(points, scale, drawing);
        const bool written = image.hasAlphaChannel() ? image.save(file, "PNG") : writeUnfiltered(image, file);
        if (!written) {
            std::fprintf(stderr, "draw_resources: cannot write %s\n", qPrintable(file));
            m_ok = false;
        }
    }
}

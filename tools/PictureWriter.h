#pragma once

#include <QDir>
#include <QPainter>
#include <QSizeF>
#include <QString>

#include <functional>

// Writes the bundle's pictures into a folder: each drawing, made in points,
// goes out at one and at two device pixels a point ("name.png" and
// "name@2x.png"), antialiased on a transparent ground.
class PictureWriter {
public:
    using Drawing = std::function<void(QPainter&)>;

    explicit PictureWriter(const QDir& folder) : m_folder(folder) {}

    // A file that cannot be written is told on the error stream; the others
    // are still written.
    void add(const QString& name, const QSizeF& points, const Drawing& drawing);
    void add(const char* name, const QSizeF& points, const Drawing& drawing)
    {
        add(QString::fromLatin1(name), points, drawing);
    }
    // Whether every file was written.
    bool ok() const { return m_ok; }

private:
    QDir m_folder;
    bool m_ok = true;
};

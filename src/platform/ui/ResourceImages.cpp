#include "platform/ui/ResourceImages.h"

#include "platform/ui/Window.h"

#include "platform/foundation/Bundle.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>

#include <cmath>
#include <future>

namespace {

// The pictures loaded so far, by name, at each scale (1 and 2).
struct Cache {
    QHash<QString, QImage> byScale[2];
    // Pictures being decoded ahead of need.
    QHash<QString, std::shared_future<QImage>> decoding[2];
    // The names of the pictures loaded at 1x, by the images' cache keys.
    QHash<qint64, QString> namesAtOne;
};

Cache& cache()
{
    static Cache loaded;
    return loaded;
}

// The picture's file at one scale: "name@2x.png" or "name.png".
QString pathAt(const QString& name, int scale)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? name : name.left(dot);
    const QString ext = dot < 0 ? QStringLiteral(".png") : name.mid(dot);
    return Bundle::main().pathForResource(scale == 2 ? base + QStringLiteral("@2x") + ext : base + ext);
}

QImage load(const QString& path, int scale)
{
    QImage image;
    if (!path.isEmpty() && image.load(path))
        image.setDevicePixelRatio(scale);
    return image;
}

// The picture from one of its files: the one at the scale, or the other one
// when the bundle has it only so. Touches nothing shared.
QImage decode(const QString& path, int scale, const QString& otherPath)
{
    const QImage image = load(path, scale);
    return image.isNull() ? load(otherPath, 3 - scale) : image;
}

// The picture at a scale (or at the other one when the bundle has it only so).
QImage namedAt(const QString& name, int scale)
{
    Cache& loaded = cache();
    const auto known = loaded.byScale[scale - 1].constFind(name);
    if (known != loaded.byScale[scale - 1].constEnd())
        return *known;
    QImage image;
    if (const auto ahead = loaded.decoding[scale - 1].constFind(name); ahead != loaded.decoding[scale - 1].constEnd()) {
        image = ahead->get();
        loaded.decoding[scale - 1].erase(ahead);
    } else {
        image = decode(pathAt(name, scale), scale, pathAt(name, 3 - scale));
    }
    if (!image.isNull() && image.devicePixelRatio() == 1)
        loaded.namesAtOne.insert(image.cacheKey(), name);
    loaded.byScale[scale - 1].insert(name, image);
    return image;
}

// The scale of the pictures for the application's window: 2 where a point
// is more than one pixel (the key window's, else the screens').
int windowScale()
{
    const Window* window = Window::keyWindow();
    const qreal ratio = window ? window->devicePixelRatioF() : qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    return ratio > 1 ? 2 : 1;
}

}  // namespace

QImage ResourceImages::named(const QString& name)
{
    if (name.isEmpty())
        return QImage();
    return namedAt(name, windowScale());
}

void ResourceImages::prefetch(const QStringList& names)
{
    if (!qGuiApp)
        return;
    const int scale = windowScale();
    Cache& loaded = cache();
    for (const QString& name : names) {
        if (name.isEmpty() || loaded.byScale[scale - 1].contains(name) || loaded.decoding[scale - 1].contains(name))
            continue;
        loaded.decoding[scale - 1].insert(name, std::async(std::launch::async, decode, pathAt(name, scale), scale,
                                                           pathAt(name, 3 - scale))
                                                    .share());
    }
}

QImage ResourceImages::forPainter(const QImage& image, const QPainter& painter)
{
    const QTransform toDevice = painter.deviceTransform();
    const qreal ratio = std::hypot(toDevice.m11(), toDevice.m12());
    if (image.isNull() || ratio < image.devicePixelRatio() + 0.01)
        return image;
    const QString name = cache().namesAtOne.value(image.cacheKey());
    return name.isEmpty() ? image : namedAt(name, 2);
}

QSizeF ResourceImages::pointSize(const QImage& image)
{
    if (image.isNull())
        return QSizeF(0, 0);
    return QSizeF(image.size()) / image.devicePixelRatio();
}

void ResourceImages::clearCache()
{
    cache() = Cache();
}

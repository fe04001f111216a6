#include "platform/ui/ResourceImages.h"

#include "platform/foundation/Bundle.h"

#include <QHash>

namespace {
QHash<QString, QImage>& cache()
{
    static QHash<QString, QImage> images;
    return images;
}
}  // namespace

QImage ResourceImages::named(const QString& name)
{
    if (name.isEmpty())
        return QImage();
    const auto it = cache().constFind(name);
    if (it != cache().constEnd())
        return *it;
    QImage image;
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? name : name.left(dot);
    const QString ext = dot < 0 ? QStringLiteral(".png") : name.mid(dot);
    const QString retina = Bundle::main().pathForResource(base + QStringLiteral("@2x") + ext);
    if (!retina.isEmpty() && image.load(retina)) {
        image.setDevicePixelRatio(2);
    } else {
        const QString path = Bundle::main().pathForResource(dot < 0 ? name + ext : name);
        if (!path.isEmpty())
            image.load(path);
    }
    cache().insert(name, image);
    return image;
}

QSizeF ResourceImages::pointSize(const QImage& image)
{
    if (image.isNull())
        return QSizeF(0, 0);
    return QSizeF(image.size()) / image.devicePixelRatio();
}

void ResourceImages::clearCache()
{
    cache().clear();
}

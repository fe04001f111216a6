#include "platform/ui/Font.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QStringList>

namespace {

// The families tried in order for the platform's sans-serif faces; the first
// one installed wins. Liberation Sans has Helvetica's metrics.
const QStringList& sansCandidates()
{
    static const QStringList families{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                      QStringLiteral("TeX Gyre Heros"), QStringLiteral("Nimbus Sans"),
                                      QStringLiteral("DejaVu Sans")};
    return families;
}

QString firstInstalled(const QStringList& candidates)
{
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : candidates) {
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    }
    return candidates.isEmpty() ? QString() : candidates.last();
}

QFont makeFont(const QString& family, qreal size, bool bold, bool italic)
{
    QFont font(family);
    font.setPixelSize(qMax(1, qRound(size)));
    font.setBold(bold);
    font.setItalic(italic);
    // Unhinted outlines: text takes the same room at every zoom factor, so a
    // measurement made once fits the drawing at any scale.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    return font;
}

}  // namespace

QString Font::installedFamily(const QString& platformFamily)
{
    static QHash<QString, QString> cache;
    const auto it = cache.constFind(platformFamily);
    if (it != cache.constEnd())
        return *it;
    QString family;
    const QString lower = platformFamily.toLower();
    if (lower.startsWith(QStringLiteral("courier")))
        family = firstInstalled({QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
    else if (lower.startsWith(QStringLiteral("times")) || lower.startsWith(QStringLiteral("georgia")))
        family = firstInstalled({QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    else
        family = firstInstalled(sansCandidates());
    cache.insert(platformFamily, family);
    return family;
}

QFont Font::fontWithName(const QString& name, qreal size)
{
    // "Family-Style": the style part names the weight and slant.
    const int dash = name.indexOf(QLatin1Char('-'));
    const QString family = dash < 0 ? name : name.left(dash);
    const QString style = dash < 0 ? QString() : name.mid(dash + 1).toLower();
    const bool bold = style.contains(QStringLiteral("bold"));
    const bool italic = style.contains(QStringLiteral("oblique")) || style.contains(QStringLiteral("italic"));
    return makeFont(installedFamily(family), size, bold, italic);
}

QFont Font::systemFontOfSize(qreal size)
{
    return makeFont(installedFamily(QStringLiteral("Helvetica")), size, false, false);
}

QFont Font::boldSystemFontOfSize(qreal size)
{
    return makeFont(installedFamily(QStringLiteral("Helvetica")), size, true, false);
}

QFont Font::italicSystemFontOfSize(qreal size)
{
    return makeFont(installedFamily(QStringLiteral("Helvetica")), size, false, true);
}

qreal Font::lineHeight(const QFont& font)
{
    QFontMetricsF metrics(font);
    return metrics.ascent() + metrics.descent() + qMax<qreal>(0, metrics.leading());
}

#pragma once

#include <QFont>
#include <QString>

// Fonts by the phone platform's names ("Helvetica", "Helvetica-Bold",
// "HelveticaNeue-Bold"...), mapped to a family installed here. Sizes are in
// points, which are the window's logical pixels.
class Font {
public:
    static QFont fontWithName(const QString& name, qreal size);
    static QFont systemFontOfSize(qreal size);
    static QFont boldSystemFontOfSize(qreal size);
    static QFont italicSystemFontOfSize(qreal size);

    // The installed family that stands for a platform family name
    // ("Helvetica" and "HelveticaNeue" both map to one sans-serif family).
    static QString installedFamily(const QString& platformFamily);
    // The height of one line of text in the font, in points.
    static qreal lineHeight(const QFont& font);
};

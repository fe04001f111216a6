#pragma once

#include "platform/foundation/Value.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>

// Colour keys of the theme (values come from "ColorDefinitions.plist").
inline const QString kColorTextTitle = QStringLiteral("color_text_title");
inline const QString kColorTextPrimary = QStringLiteral("color_text_primary");
inline const QString kColorTextSecondary = QStringLiteral("color_text_secondary");
inline const QString kColorTextBody = QStringLiteral("color_text_body");
inline const QString kColorTextCategory = QStringLiteral("color_text_category");
inline const QString kColorTextNotification = QStringLiteral("color_text_notification");
inline const QString kColorBackground = QStringLiteral("color_background");
inline const QString kColorBackgroundButton = QStringLiteral("color_background_button");
inline const QString kColorBackgroundNotification = QStringLiteral("color_background_notification");
inline const QString kColorBackgroundQuote = QStringLiteral("color_background_quote");

// The application's colour scheme and display name. Colours are hexadecimal
// RGB texts such as "0x2A5DB0" ("#RRGGBB" is not a recognised form).
class Customizer {
public:
    static Customizer& getInstance();

    // Reads the colour definitions from a file (the bundle's
    // "ColorDefinitions.plist" for the shared object). A missing file gives a
    // theme that only knows the quote background.
    explicit Customizer(const QString& colorDefinitionsPath);

    // The colour of a key, or an invalid colour when the key has no text.
    QColor colorForKey(const QString& key);
    // The key's raw text, or a null text.
    QString colorStringForKey(const QString& key) const;
    // The unsigned number a hexadecimal text holds ("0x" optional); 0 when none.
    static unsigned int colorForHex(const QString& text);
    // The application's display name ("CFBundleDisplayName").
    QString appLabel() const;
    // a + (b - a) * step / 6 in single precision.
    static float interpolateFrom(float a, float b, int step);
    // Six colours from the button colour, lightest first.
    const QList<QColor>& buttonColorsGradient();

private:
    static QColor colorFromText(const QString& text);

    ValueDict m_colorsStringData;
    QHash<QString, QColor> m_colorsData;
    QList<QColor> m_colorsGradient;
};

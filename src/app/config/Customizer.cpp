#include "Customizer.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyList.h"

#include <algorithm>
#include <limits>

namespace {
// Quoted text keeps its light blue-grey whatever the theme file says, so the
// quote style sheets of the post views stay readable.
const QString kQuoteColor = QStringLiteral("0xD8E3EB");
}  // namespace

Customizer& Customizer::getInstance()
{
    static Customizer instance(Bundle::main().pathForResource(QStringLiteral("ColorDefinitions.plist")));
    return instance;
}

Customizer::Customizer(const QString& colorDefinitionsPath)
{
    if (!colorDefinitionsPath.isEmpty()) {
        const Value definitions = PropertyList::readFile(colorDefinitionsPath);
        if (definitions.isDict())
            m_colorsStringData = definitions.dict();
    }
    m_colorsStringData.insert(kColorBackgroundQuote, Value(kQuoteColor));
}

QColor Customizer::colorForKey(const QString& key)
{
    const auto cached = m_colorsData.constFind(key);
    if (cached != m_colorsData.constEnd())
        return *cached;
    const QString text = colorStringForKey(key);
    if (text.isNull())
        return QColor();
    const QColor color = colorFromText(text);
    m_colorsData.insert(key, color);
    return color;
}

QString Customizer::colorStringForKey(const QString& key) const
{
    return m_colorsStringData.value(key).string();
}

unsigned int Customizer::colorForHex(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    if (i + 1 < text.size() && text.at(i) == u'0' && (text.at(i + 1) == u'x' || text.at(i + 1) == u'X'))
        i += 2;
    quint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        int digit = -1;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        if (digit < 0)
            break;
        // Too many digits: the largest value stands.
        value = std::min<quint64>(value * 16 + quint64(digit), std::numeric_limits<unsigned int>::max());
    }
    return static_cast<unsigned int>(value);
}

QString Customizer::appLabel() const
{
    return Bundle::main().objectForInfoDictionaryKey(QStringLiteral("CFBundleDisplayName")).toString();
}

float Customizer::interpolateFrom(float a, float b, int step)
{
    return a + (b - a) * float(step) / 6.0f;
}

const QList<QColor>& Customizer::buttonColorsGradient()
{
    if (!m_colorsGradient.isEmpty())
        return m_colorsGradient;
    const QColor base = colorForKey(kColorBackgroundButton);
    // An invalid colour reads as black, as a missing colour would.
    const float r = base.isValid() ? base.redF() : 0.0f;
    const float g = base.isValid() ? base.greenF() : 0.0f;
    const float b = base.isValid() ? base.blueF() : 0.0f;
    for (int n = 3; n <= 5; ++n)
        m_colorsGradient.append(QColor::fromRgbF(interpolateFrom(1.0f, r, n), interpolateFrom(1.0f, g, n),
                                                 interpolateFrom(1.0f, b, n), 1.0f));
    for (int n = 0; n <= 2; ++n)
        m_colorsGradient.append(QColor::fromRgbF(interpolateFrom(r, 0.0f, n), interpolateFrom(g, 0.0f, n),
                                                 interpolateFrom(b, 0.0f, n), 1.0f));
    return m_colorsGradient;
}

QColor Customizer::colorFromText(const QString& text)
{
    const unsigned int rgb = colorForHex(text);
    return QColor::fromRgbF(float((rgb >> 16) & 0xFF) / 255.0f, float((rgb >> 8) & 0xFF) / 255.0f,
                            float(rgb & 0xFF) / 255.0f, 1.0f);
}

#include "AppTest.h"

#include "app/config/Customizer.h"

#include "platform/foundation/PropertyList.h"

#include <QFile>

using CustomizerTest = AppTest;

namespace {

QString writeColors(const ValueDict& colors)
{
    const QString path = TestSupport::homeFolder() + QStringLiteral("/colors.plist");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(PropertyList::toXml(Value(colors)));
    return path;
}

void expectGrey(const QColor& color, double level)
{
    EXPECT_NEAR(color.redF(), level, 1e-4);
    EXPECT_NEAR(color.greenF(), level, 1e-4);
    EXPECT_NEAR(color.blueF(), level, 1e-4);
    EXPECT_DOUBLE_EQ(color.alphaF(), 1.0);
}

}  // namespace

TEST_F(CustomizerTest, QuoteColourIsForcedAndMissingKeysGiveNothing)
{
    Customizer customizer(writeColors({{kColorBackgroundQuote, Value(QStringLiteral("0x000000"))},
                                       {kColorTextTitle, Value(QStringLiteral("0x2A5DB0"))}}));
    EXPECT_EQ(customizer.colorStringForKey(kColorBackgroundQuote), QStringLiteral("0xD8E3EB"));
    EXPECT_EQ(customizer.colorForKey(kColorBackgroundQuote), QColor(0xD8, 0xE3, 0xEB));
    EXPECT_EQ(customizer.colorForKey(kColorTextTitle), QColor(0x2A, 0x5D, 0xB0));
    EXPECT_FALSE(customizer.colorForKey(kColorTextBody).isValid());
    EXPECT_TRUE(customizer.colorStringForKey(kColorTextBody).isNull());

    // Without a file the quote colour is still there.
    Customizer bare(TestSupport::homeFolder() + QStringLiteral("/missing.plist"));
    EXPECT_EQ(bare.colorForKey(kColorBackgroundQuote), QColor(0xD8, 0xE3, 0xEB));
    EXPECT_FALSE(bare.colorForKey(kColorBackground).isValid());
}

TEST_F(CustomizerTest, ColourTextsAreUnsignedHex)
{
    EXPECT_EQ(Customizer::colorForHex(QStringLiteral("0xD8E3EB")), 0xD8E3EBu);
    EXPECT_EQ(Customizer::colorForHex(QStringLiteral("d8e3eb")), 0xD8E3EBu);
    EXPECT_EQ(Customizer::colorForHex(QStringLiteral(" 0X1fzz")), 0x1Fu);
    EXPECT_EQ(Customizer::colorForHex(QStringLiteral("#FFFFFF")), 0u);
    EXPECT_EQ(Customizer::colorForHex(QStringLiteral("blue")), 0xBu);  // "b" is a hex digit
    EXPECT_EQ(Customizer::colorForHex(QStringLiteral("")), 0u);
    EXPECT_EQ(Customizer::colorForHex(QStringLiteral("0x123456789")), 0xFFFFFFFFu);
}

TEST_F(CustomizerTest, GradientOfBlackButton)
{
    Customizer customizer(writeColors({{kColorBackgroundButton, Value(QStringLiteral("0x000000"))}}));
    const QList<QColor>& gradient = customizer.buttonColorsGradient();
    ASSERT_EQ(gradient.size(), 6);
    const double expected[] = {0.5, 1.0 / 3, 1.0 / 6, 0, 0, 0};
    for (int i = 0; i < 6; ++i)
        expectGrey(gradient[i], expected[i]);
}

TEST_F(CustomizerTest, GradientOfColouredButtonGoesFromLightToDark)
{
    // Base 0x3366CC: r = 0.2, g = 0.4, b = 0.8.
    Customizer customizer(writeColors({{kColorBackgroundButton, Value(QStringLiteral("0x3366CC"))}}));
    const QList<QColor>& gradient = customizer.buttonColorsGradient();
    ASSERT_EQ(gradient.size(), 6);
    // n = 3: halfway from white; n = 4: two thirds; n = 5: five sixths.
    EXPECT_NEAR(gradient[0].redF(), 0.6, 1e-4);
    EXPECT_NEAR(gradient[0].greenF(), 0.7, 1e-4);
    EXPECT_NEAR(gradient[0].blueF(), 0.9, 1e-4);
    EXPECT_NEAR(gradient[1].redF(), 1 - 0.8 * 4 / 6, 1e-4);
    EXPECT_NEAR(gradient[2].blueF(), 1 - 0.2 * 5 / 6, 1e-4);
    // Then the base colour, five sixths and two thirds of it.
    EXPECT_EQ(gradient[3], QColor(0x33, 0x66, 0xCC));
    EXPECT_NEAR(gradient[4].greenF(), 0.4 * 5 / 6, 1e-4);
    EXPECT_NEAR(gradient[5].blueF(), 0.8 * 4 / 6, 1e-4);
    EXPECT_FLOAT_EQ(Customizer::interpolateFrom(1.0f, 0.2f, 3), 0.6f);
}

TEST_F(CustomizerTest, SharedThemeComesFromTheBundle)
{
    Customizer& theme = Customizer::getInstance();
    EXPECT_EQ(theme.appLabel(), QStringLiteral("mu Forum"));
    for (const QString& key : {kColorTextTitle, kColorTextPrimary, kColorTextSecondary, kColorTextBody,
                               kColorTextCategory, kColorTextNotification, kColorBackground,
                               kColorBackgroundButton, kColorBackgroundNotification, kColorBackgroundQuote})
        EXPECT_TRUE(theme.colorForKey(key).isValid()) << key.toStdString();
}

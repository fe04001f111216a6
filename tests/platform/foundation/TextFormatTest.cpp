#include "PlatformTest.h"

#include "platform/foundation/TextFormat.h"

using TextFormatTest = PlatformTest;

TEST_F(TextFormatTest, FillsTextsNumbersAndPercents)
{
    EXPECT_EQ(TextFormat::fill(QStringLiteral("%@ could not connect"), {Value(QStringLiteral("mu Forum"))}),
              QStringLiteral("mu Forum could not connect"));
    EXPECT_EQ(TextFormat::fill(QStringLiteral("%@/%@"), {Value(QStringLiteral("http://h")), Value(QStringLiteral("a.png"))}),
              QStringLiteral("http://h/a.png"));
    EXPECT_EQ(TextFormat::fill(QStringLiteral("%d of %d, 100%%"), {Value(3), Value(QStringLiteral("12abc"))}),
              QStringLiteral("3 of 12, 100%"));
    EXPECT_EQ(TextFormat::fill(QStringLiteral("%@"), {Value(2.5)}), QStringLiteral("2.5"));
}

TEST_F(TextFormatTest, NothingNullAndMissingArgumentsFillAsEmpty)
{
    EXPECT_EQ(TextFormat::fill(QStringLiteral("[%@][%@][%@][%d]"), {Value(), Value::null()}), QStringLiteral("[][][][]"));
}

TEST_F(TextFormatTest, OtherSequencesStayAsTheyAre)
{
    // printf-like directives in a resource text must never read arguments.
    EXPECT_EQ(TextFormat::fill(QStringLiteral("%s %x %n %"), {Value(QStringLiteral("unused"))}),
              QStringLiteral("%s %x %n %"));
}

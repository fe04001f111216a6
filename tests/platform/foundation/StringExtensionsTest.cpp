#include "PlatformTest.h"

#include "platform/foundation/ClassName.h"
#include "platform/foundation/StringExtensions.h"

#include <QRegularExpression>

using StringExtensionsTest = PlatformTest;

using namespace StringExtensions;

TEST_F(StringExtensionsTest, Md5DigestsOfTheFullUtf8Bytes)
{
    // Digests worked out with printf ... | md5sum.
    EXPECT_EQ(md5(QStringLiteral("abc")), QStringLiteral("900150983cd24fb0d6963f7d28e17f72"));
    EXPECT_EQ(md5(QString(QStringLiteral(""))), QStringLiteral("d41d8cd98f00b204e9800998ecf8427e"));
    // An embedded NUL is hashed too: stopping there would give the digest of "a".
    const QString withNul = QString::fromUtf16(u"a\0b", 3);
    EXPECT_EQ(md5(withNul), QStringLiteral("70350f6027bce3713f6b76473084309b"));
    EXPECT_EQ(md5(QString::fromUtf8("Grüße, 世界")), QStringLiteral("3f09d838cd485bfad6c29ac11286f1ac"));
    EXPECT_EQ(md5(QByteArray("a\0b", 3)), QStringLiteral("70350f6027bce3713f6b76473084309b"));
}

TEST_F(StringExtensionsTest, UuidsAreUpperCaseAndFresh)
{
    const QRegularExpression form(QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"));
    const QString first = uuid();
    const QString second = uuid();
    EXPECT_TRUE(form.match(first).hasMatch()) << first.toStdString();
    EXPECT_TRUE(form.match(second).hasMatch()) << second.toStdString();
    EXPECT_NE(first, second);
}

TEST_F(StringExtensionsTest, EmailRuleChecksOnlyTheDomain)
{
    EXPECT_TRUE(validateEmail(QStringLiteral("a@b.c")));
    EXPECT_TRUE(validateEmail(QStringLiteral("@b.c")));
    EXPECT_TRUE(validateEmail(QStringLiteral("a+tag@mail-host_1.org")));
    // "." anywhere satisfies the dot rule, even before the "@".
    EXPECT_TRUE(validateEmail(QStringLiteral("a.b@c")));
    EXPECT_TRUE(validateEmail(QString::fromUtf8("jörg@bücher.例え")));
    // A combining mark is part of a letter of its script.
    EXPECT_TRUE(validateEmail(QString::fromUtf8("x@cafe\u0301.fr")));

    EXPECT_FALSE(validateEmail(QString()));
    EXPECT_FALSE(validateEmail(QStringLiteral("a@b")));
    EXPECT_FALSE(validateEmail(QStringLiteral("ab.c")));
    EXPECT_FALSE(validateEmail(QStringLiteral("a@b..c")));
    EXPECT_FALSE(validateEmail(QStringLiteral("a@b.c.")));
    EXPECT_FALSE(validateEmail(QStringLiteral("a@b+x.c")));
    EXPECT_FALSE(validateEmail(QStringLiteral("a@b c.d")));
    // Everything after the first "@" is the domain.
    EXPECT_FALSE(validateEmail(QStringLiteral("a@b@c.d")));
}

TEST_F(StringExtensionsTest, ReplaceAmpersands)
{
    EXPECT_EQ(replaceAmpersands(QStringLiteral("a&amp;b&amp;amp;c&d")), QStringLiteral("a&b&amp;c&d"));
}

namespace demo {
struct Base {
    virtual ~Base() = default;
};
struct Friend : Base {};
template <typename T>
struct Box : Base {};
}  // namespace demo

TEST_F(StringExtensionsTest, ClassNameIsTheDynamicPlainName)
{
    demo::Friend f;
    const demo::Base& asBase = f;
    EXPECT_EQ(className(asBase), QStringLiteral("Friend"));
    demo::Box<demo::Friend> box;
    EXPECT_EQ(className(static_cast<const demo::Base&>(box)), QStringLiteral("Box"));
}

TEST_F(StringExtensionsTest, RangesOfAWordIgnoreCaseAndDiacriticsInAnyScript)
{
    using Ranges = QList<std::pair<int, int>>;
    EXPECT_EQ(rangesOfString(QStringLiteral("Café CAFE cafe"), QStringLiteral("cafe")),
              (Ranges{{0, 4}, {5, 9}, {10, 14}}));
    // A mark written apart belongs to its letter.
    EXPECT_EQ(rangesOfString(QStringLiteral("Cafe\u0301 ok"), QStringLiteral("CAFÉ")), (Ranges{{0, 5}}));
    EXPECT_EQ(rangesOfString(QStringLiteral("ΣΟΦΙΑ σοφία"), QStringLiteral("σοφια")), (Ranges{{0, 5}, {6, 11}}));
    // Arabic with its vowel marks, found without them.
    EXPECT_EQ(rangesOfString(QStringLiteral("قال كَتَبَ"), QStringLiteral("كتب")), (Ranges{{4, 10}}));
    EXPECT_EQ(rangesOfString(QStringLiteral("東京タワーと東京駅"), QStringLiteral("東京")), (Ranges{{0, 2}, {6, 8}}));
    // Two units to a character: the ranges count units.
    EXPECT_EQ(rangesOfString(QStringLiteral("a\U0001F600b\U0001F600"), QStringLiteral("\U0001F600")),
              (Ranges{{1, 3}, {4, 6}}));
    EXPECT_EQ(rangesOfString(QStringLiteral("Straße"), QStringLiteral("STRASSE")), (Ranges{{0, 6}}));
    EXPECT_EQ(rangesOfString(QStringLiteral("Straße"), QStringLiteral("s")), (Ranges{{0, 1}, {4, 5}}));
    // Each search starts where the last place ended.
    EXPECT_EQ(rangesOfString(QStringLiteral("aaaa"), QStringLiteral("aa")), (Ranges{{0, 2}, {2, 4}}));
    // Nothing to look for, or nowhere to look: no places.
    EXPECT_TRUE(rangesOfString(QStringLiteral("text"), QString()).isEmpty());
    EXPECT_TRUE(rangesOfString(QString(), QStringLiteral("text")).isEmpty());
    EXPECT_TRUE(rangesOfString(QStringLiteral("te\u0301xt"), QStringLiteral("\u0301")).isEmpty());
    EXPECT_TRUE(rangesOfString(QStringLiteral("harbour"), QStringLiteral("lighthouse")).isEmpty());
}


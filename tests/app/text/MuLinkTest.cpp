#include "AppTest.h"

#include "app/text/MuLink.h"

using MuLinkTest = AppTest;

namespace {
std::optional<MuLink> link(const char* text)
{
    return MuLink::parse(QString::fromUtf8(text));
}
}  // namespace

TEST_F(MuLinkTest, OnlyTheSchemeMuWrittenSoIsAnInAppLink)
{
    for (const char* other : {"MU:forum", "Mu:forum", "http://forum.example/mu:forum", "mux:forum", " mu:forum",
                              "mu", "", "file:///mu:forum"})
        EXPECT_FALSE(link(other).has_value()) << other;
    ASSERT_TRUE(link("mu:").has_value());
    EXPECT_EQ(link("mu:")->command(), QString());
    // The "//" form names no command.
    EXPECT_EQ(link("mu://forum")->command(), QString());
    EXPECT_EQ(link("mu:forum")->command(), QStringLiteral("forum"));
}

TEST_F(MuLinkTest, PiecesGiveKeysAndValuesAsWritten)
{
    const std::optional<MuLink> thread = link("mu:showthread/t=123/p=0");
    ASSERT_TRUE(thread.has_value());
    EXPECT_EQ(thread->command(), QStringLiteral("showthread"));
    EXPECT_EQ(thread->value(QStringLiteral("t")), QStringLiteral("123"));
    EXPECT_EQ(thread->value(QStringLiteral("p")), QStringLiteral("0"));
    EXPECT_EQ(thread->parameters().size(), 2);

    // A value ends at the next "="; a later piece of the same key wins; a
    // piece without "=" (the empty one after a trailing "/" too) is passed
    // over; nothing is decoded.
    const std::optional<MuLink> odd = link("mu:blog/tag=a=b/tag=c d/username=John%20Doe/loose//u=/");
    ASSERT_TRUE(odd.has_value());
    EXPECT_EQ(odd->value(QStringLiteral("tag")), QStringLiteral("c d"));
    EXPECT_EQ(odd->value(QStringLiteral("username")), QStringLiteral("John%20Doe"));
    EXPECT_FALSE(odd->has(QStringLiteral("loose")));
    EXPECT_TRUE(odd->has(QStringLiteral("u")));
    EXPECT_EQ(odd->value(QStringLiteral("u")), QString());
    EXPECT_EQ(odd->parameters().size(), 3);
    EXPECT_EQ(link("mu:x/k=a=b")->value(QStringLiteral("k")), QStringLiteral("a"));
    EXPECT_EQ(link("mu:x/=v")->value(QString()), QStringLiteral("v"));
    EXPECT_TRUE(link("mu:forum/")->parameters().isEmpty());
}

TEST_F(MuLinkTest, IdsAreLeadingIntegersReadUnderTheAliasWhenTheKeyGivesNone)
{
    const std::optional<MuLink> member = link("mu:member/userid=0/u=7");
    ASSERT_TRUE(member.has_value());
    EXPECT_EQ(member->id(QStringLiteral("userid"), QStringLiteral("u")), 7);
    EXPECT_EQ(link("mu:member/userid=5/u=7")->id(QStringLiteral("userid"), QStringLiteral("u")), 5);
    EXPECT_EQ(link("mu:member/u=7")->id(QStringLiteral("userid"), QStringLiteral("u")), 7);
    EXPECT_EQ(link("mu:member/userid=abc")->id(QStringLiteral("userid"), QStringLiteral("u")), 0);
    // Leading digits after blanks and a sign, as the platform reads a number.
    EXPECT_EQ(link("mu:t/t=12abc")->integer(QStringLiteral("t")), 12);
    EXPECT_EQ(link("mu:t/t= -4")->integer(QStringLiteral("t")), -4);
    EXPECT_EQ(link("mu:t/t=99999999999")->integer(QStringLiteral("t")), 2147483647);
    EXPECT_EQ(link("mu:t/t=")->integer(QStringLiteral("t")), 0);
    EXPECT_EQ(link("mu:t")->integer(QStringLiteral("t")), 0);
    // "r" has no alias.
    EXPECT_EQ(link("mu:content/r=0")->id(QStringLiteral("r")), 0);
}

#include "AppTest.h"

#include "app/text/QuoteFormatter.h"

#include "platform/foundation/Localized.h"

using QuoteFormatterTest = AppTest;

using QuoteFormatter::extractUserNameForQuote;
using QuoteFormatter::messageWithFormattedQuotes;
using QuoteFormatter::stripTags;

namespace {
QString q(const char16_t* text) { return QString::fromUtf16(text); }
}  // namespace

TEST_F(QuoteFormatterTest, NameComesFromBetweenEqualsAndSemicolonOfTheTag)
{
    EXPECT_EQ(extractUserNameForQuote(q(u"[QUOTE=anna;123]"), 0, 15), q(u"anna"));
    EXPECT_EQ(extractUserNameForQuote(q(u"x [quote=bo b;9] y"), 2, 15), q(u"bo b"));
    EXPECT_TRUE(extractUserNameForQuote(q(u"[QUOTE=anna]"), 0, 11).isNull());
    EXPECT_TRUE(extractUserNameForQuote(q(u"[QUOTE]"), 0, 6).isNull());
    EXPECT_TRUE(extractUserNameForQuote(q(u"[QUOTE=;1]"), 0, 9).isNull());
    EXPECT_TRUE(extractUserNameForQuote(q(u"[QUOTE;a=1]"), 0, 10).isNull());
    // The ";" after the "]" is not part of the tag.
    EXPECT_TRUE(extractUserNameForQuote(q(u"[QUOTE=anna]x;"), 0, 11).isNull());
    // Ranges outside the text or inverted give no name instead of reading beyond it.
    EXPECT_TRUE(extractUserNameForQuote(q(u"[QUOTE=a;1]"), 0, 40).isNull());
    EXPECT_TRUE(extractUserNameForQuote(q(u"[QUOTE=a;1]"), 8, 3).isNull());
}

TEST_F(QuoteFormatterTest, QuotesBecomeIntroductionsAndQuotedText)
{
    EXPECT_EQ(messageWithFormattedQuotes(q(u"no quotes [b]here[/b]")), q(u"no quotes [b]here[/b]"));
    EXPECT_TRUE(messageWithFormattedQuotes(QString()).isNull());
    EXPECT_EQ(messageWithFormattedQuotes(q(u"Hi [QUOTE=bob;5]yes[/QUOTE]")),
              q(u"Hi Originally posted by bob:\n\"yes\""));
    EXPECT_EQ(messageWithFormattedQuotes(q(u"[quote]x[/quote]")), q(u"Quote: \"x\""));
    // A name is shown as written, never read as a format.
    EXPECT_EQ(messageWithFormattedQuotes(q(u"[QUOTE=%@%d;1]x[/QUOTE]")),
              q(u"Originally posted by %@%d:\n\"x\""));
}

TEST_F(QuoteFormatterTest, NestedQuotesWriteOuterTextInFrontAsPlainText)
{
    EXPECT_EQ(messageWithFormattedQuotes(q(u"[QUOTE=a;1]outer [QUOTE=b;2]inner[/QUOTE] tail[/QUOTE]")),
              q(u"outer Originally posted by b:\n\"inner\"Originally posted by a:\n\" tail\""));
    // An outer quote with nothing after its inner one has no introduction.
    EXPECT_EQ(messageWithFormattedQuotes(q(u"[QUOTE=a;1][QUOTE=b;2]x[/QUOTE][/QUOTE]\nok")),
              q(u"Originally posted by b:\n\"x\"ok"));
}

TEST_F(QuoteFormatterTest, EmptyQuoteVanishesWithItsLineFeed)
{
    EXPECT_EQ(messageWithFormattedQuotes(q(u"[QUOTE=a;1][/QUOTE]\n")), q(u""));
    EXPECT_EQ(messageWithFormattedQuotes(q(u"[QUOTE=a;1][/QUOTE]\nreply")), q(u"reply"));
    // Only one line feed goes; other characters stay.
    EXPECT_EQ(messageWithFormattedQuotes(q(u"[QUOTE][/QUOTE]\n\nreply")), q(u"\nreply"));
    // At the very end there is no character after the tag to look at.
    EXPECT_EQ(messageWithFormattedQuotes(q(u"text[QUOTE=a;1][/QUOTE]")), q(u"text"));
}

TEST_F(QuoteFormatterTest, MarkupThatDoesNotPairUpStaysAsText)
{
    EXPECT_EQ(messageWithFormattedQuotes(q(u"a[/quote]b")), q(u"a[/quote]b"));
    EXPECT_EQ(messageWithFormattedQuotes(q(u"[QUOTE]x[/QUOTE][/QUOTE]y")), q(u"Quote: \"x\"[/QUOTE]y"));
    // An opening tag that never ends keeps the rest of the text.
    EXPECT_EQ(messageWithFormattedQuotes(q(u"x [QUOTE=a;1 rest")), q(u"x [QUOTE=a;1 rest"));
    EXPECT_EQ(messageWithFormattedQuotes(q(u"[QUOTE]a[/QUOTE] [quote=b")), q(u"Quote: \"a\" [quote=b"));
    // A "]" in front of the tag does not end it.
    EXPECT_EQ(messageWithFormattedQuotes(q(u"a] b [QUOTE=c;1]d[/QUOTE]")),
              q(u"a] b Originally posted by c:\n\"d\""));
    // A quote left open loses only its tag.
    EXPECT_EQ(messageWithFormattedQuotes(q(u"[QUOTE=a;1]abc")), q(u"abc"));
}

TEST_F(QuoteFormatterTest, StripTagsDropsTagsAndKeepsTheWordsApart)
{
    EXPECT_EQ(stripTags(q(u"a <b>bold</b> word")), q(u"a bold word"));
    EXPECT_EQ(stripTags(q(u"Forum <b>rules</b> updated")), q(u"Forum rules updated"));
    // A tag inside a word joins nothing and parts nothing.
    EXPECT_EQ(stripTags(q(u"un<i>believ</i>able")), q(u"unbelievable"));
    // A tag that breaks the line parts the words on either side.
    EXPECT_EQ(stripTags(q(u"one<br>two<br/>three<p>four</p>five")), q(u"one two three four five"));
    EXPECT_EQ(stripTags(q(u"<p><br/></p>")), q(u""));
    EXPECT_FALSE(stripTags(q(u"<p></p>")).isNull());
    // Runs of white space read as one blank; none in front.
    EXPECT_EQ(stripTags(q(u"  <i>\n x </i>\t y ")), q(u"x y "));
    EXPECT_EQ(stripTags(q(u"plain 1 > 0")), q(u"plain 1 > 0"));
    // An unterminated tag swallows the rest.
    EXPECT_EQ(stripTags(q(u"a < b")), q(u"a "));
    EXPECT_TRUE(stripTags(QString()).isNull());
}

TEST_F(QuoteFormatterTest, ALongQuoteIsCutBetweenWordsOutsideTagsAndCharactersWithItsQuotesClosed)
{
    using QuoteFormatter::quotedPart;
    const QString said = u'\n' + localized("quote_cut");
    ASSERT_FALSE(localized("quote_cut").isEmpty());
    // Up to the length, whole; past it, cut at the last blank within reach.
    EXPECT_EQ(quotedPart(q(u"one two three"), 13), q(u"one two three"));
    EXPECT_EQ(quotedPart(q(u"one two three"), 12), q(u"one two") + said);
    EXPECT_EQ(quotedPart(q(u"one two\n\nthree"), 12), q(u"one two") + said);
    // No blank near: at the length, never between the halves of a character.
    const QString words = QString(300, u'w') + q(u"😀😀");
    EXPECT_EQ(quotedPart(words, 302), QString(300, u'w') + q(u"😀") + said);
    EXPECT_EQ(quotedPart(words, 303), QString(300, u'w') + q(u"😀") + said);
    // A tag cut in two goes whole; the quotes it leaves open are closed, in
    // the order the tags come.
    EXPECT_EQ(quotedPart(q(u"[b]bold[/b][url=http://example.org/a]"), 30), q(u"[b]bold[/b]") + said);
    EXPECT_EQ(quotedPart(q(u"[QUOTE=ann;1]a[QUOTE]b[/QUOTE][quote=cy]c d e"), 44),
              q(u"[QUOTE=ann;1]a[QUOTE]b[/QUOTE][quote=cy]c d[/QUOTE][/QUOTE]") + said);
    EXPECT_EQ(quotedPart(q(u"[/QUOTE][quotes]x y"), 18), q(u"[/QUOTE][quotes]x") + said);
}

#include "AppTest.h"

#include "app/text/AddressBreaks.h"

using AddressBreaksTest = AppTest;

namespace {

// The text with its marks shown: "|" where a line may end, "+" where it may not.
QString shown(const QString& marked)
{
    QString out = marked;
    out.replace(AddressBreaks::kBreak, u'|');
    out.replace(AddressBreaks::kJoin, u'+');
    return out;
}

QString marked(const char* html)
{
    return shown(AddressBreaks::markedHtml(QString::fromUtf8(html)));
}

}  // namespace

TEST_F(AddressBreaksTest, AnAddressInTheTextMayEndALineOnlyAfterASeparatorPastItsScheme)
{
    EXPECT_EQ(marked("More at http://forum.example.org/misc.php?do=rules&amp;a=1-2."),
              QStringLiteral("More at http://+forum.|example.|org/|misc.|php?|do=|rules&amp;|a=|1-|2."));
    EXPECT_EQ(marked("<p>See HTTPS://a.b/c and ftp://x/y</p>"), QStringLiteral("<p>See HTTPS://+a.|b/|c and ftp://+x/|y</p>"));
    // A bare "&", and an entity that is no separator, kept whole.
    EXPECT_EQ(marked("http://a/?x=1&y=&lt;2"), QStringLiteral("http://+a/|?|x=|1&|y=|&lt;2"));
    // Nothing past the scheme, no scheme, nothing to mark.
    EXPECT_EQ(marked("http:// and mailto:staff@forum.example and a.b/c"),
              QStringLiteral("http:// and mailto:staff@forum.example and a.b/c"));
}

TEST_F(AddressBreaksTest, TagsAttributesStylesAndScriptsAreNeverMarked)
{
    const char* html = "<a href=\"http://a.example/x-y?z=1\" title='http://b.example/'>http://a.example/x</a>"
                       "<style>body { background: url(http://c.example/i.png) }</style>"
                       "<SCRIPT>var u = 'http://d.example/';</SCRIPT><img src=http://e.example/p.png>";
    EXPECT_EQ(marked(html),
              QStringLiteral("<a href=\"http://a.example/x-y?z=1\" title='http://b.example/'>http://+a.|example/|x</a>"
                             "<style>body { background: url(http://c.example/i.png) }</style>"
                             "<SCRIPT>var u = 'http://d.example/';</SCRIPT><img src=http://e.example/p.png>"));
    // A page cut short: an unclosed tag or style stays as it is.
    EXPECT_EQ(marked("x <a href=\"http://a/b"), QStringLiteral("x <a href=\"http://a/b"));
    EXPECT_EQ(marked("<style>http://a/b"), QStringLiteral("<style>http://a/b"));
    EXPECT_EQ(marked(""), QString());
}

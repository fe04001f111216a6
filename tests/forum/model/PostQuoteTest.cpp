// The quote form and the parsing of quoted blocks.
#include "AppTest.h"

#include "forum/model/PostQuote.h"

using PostQuoteParsing = AppTest;

namespace {

PostQuotePtr parse(const QString& text)
{
    return PostQuote::initWithAuthor(QString(), text);
}

// The parts of a node, nested nodes written as {author|opentag|parts|closetag}.
QString shape(const PostQuote& node)
{
    QStringList parts;
    for (const PostQuote::Part& part : node.info()) {
        if (!part.isQuote()) {
            parts.append(QLatin1Char('"') + part.text + QLatin1Char('"'));
            continue;
        }
        const PostQuote& quote = *part.quote;
        parts.append(QStringLiteral("{%1|%2|%3|%4}")
                         .arg(quote.author().isNull() ? QStringLiteral("-") : quote.author(), quote.opentag(),
                              shape(quote), quote.closetag().isNull() ? QStringLiteral("-") : quote.closetag()));
    }
    return parts.join(QLatin1Char(' '));
}

}  // namespace

TEST_F(PostQuoteParsing, QuoteIsWrittenUnescaped)
{
    EXPECT_EQ(PostQuote::writeQuote(QStringLiteral("a]b"), 12, QStringLiteral("[b]hi[/b]")),
              u"[QUOTE=a]b;12][b]hi[/b][/QUOTE]");
    EXPECT_EQ(PostQuote::writeQuote(QString(), 0, QString()), u"[QUOTE=;0][/QUOTE]");
}

TEST_F(PostQuoteParsing, BlocksBecomeNestedNodes)
{
    struct Case {
        const char16_t* text;
        const char16_t* shape;
    };
    const Case cases[] = {
        {u"[QUOTE=u1;12]hi[/QUOTE] ok", uR"("" {u1|[QUOTE=u1;12]|"hi"|[/QUOTE]} " ok")"},
        {u"[QUOTE=u1;1]x[QUOTE=u2;2]y[/QUOTE]z[/QUOTE]",
         uR"("" {u1|[QUOTE=u1;1]|"x" {u2|[QUOTE=u2;2]|"y"|[/QUOTE]} "z"|[/QUOTE]} "")"},
        // Lower case is recognised; the opening tag keeps it, the closing one is written upper case.
        {u"[quote]text[/quote]", uR"("" {-|[quote]|"text"|[/QUOTE]} "")"},
        // "<<" and ">>" count only where no "[QUOTE" or "[/QUOTE]" follows; they keep the author.
        {u"[QUOTE=ann;3]a <<b>> c[/QUOTE]", uR"("" {ann|[QUOTE=ann;3]|"a <<b>> c"|[/QUOTE]} "")"},
        {u"say <<hi>> there", uR"("say " {-|<<|"hi"|>>} " there")"},
        // A block without its closing tag takes the rest.
        {u"a[QUOTE=b;2]never closed", uR"("a" {b|[QUOTE=b;2]|"never closed"|-} "")"},
        // A stray closing tag ends the parsing: the rest, later blocks included, is text.
        {u"x[/QUOTE]y[QUOTE=a;1]z[/QUOTE]", uR"("x[/QUOTE]y[QUOTE=a;1]z[/QUOTE]")"},
        // Two separators: the tag counts one, the leftover starts the text.
        {u"[QUOTE=u1;:7]t[/QUOTE]", uR"("" {u1|[QUOTE=u1;:7|"]t"|[/QUOTE]} "")"},
        // A blank before the name is skipped by the scan, so the tag comes one short.
        {u"[QUOTE= bob;1]t[/QUOTE]", uR"("" {bob|[QUOTE= bob;1|"]t"|[/QUOTE]} "")"},
        // Any "[QUOTE..." opens a block whose tag is its first seven characters.
        {u"[QUOTEx]y[/QUOTE]", uR"("" {-|[QUOTEx|"]y"|[/QUOTE]} "")"},
        // No separator anywhere after: the name runs to the "]".
        {u"[QUOTE=bob]hi[/QUOTE]", uR"("" {bob|[QUOTE=bob]|"hi"|[/QUOTE]} "")"},
        // An opening block closed by ">>" says so, so that it covers what it says.
        {u"[QUOTE]a >> b", uR"("" {-|[QUOTE]|"a "|>>} " b")"},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        const PostQuotePtr root = parse(text);
        ASSERT_TRUE(root);
        EXPECT_EQ(shape(*root), QString::fromUtf16(c.shape)) << text.toStdString();
        EXPECT_EQ(root->length(), text.size()) << text.toStdString();
        EXPECT_TRUE(root->opentag().isNull());
        EXPECT_TRUE(root->closetag().isNull());
    }
}

TEST_F(PostQuoteParsing, NodesKnowTheirParentTagsAndDescription)
{
    const PostQuotePtr root = parse(QStringLiteral("[QUOTE=u1;12]hi[/QUOTE] ok"));
    ASSERT_EQ(root->length(), 26);
    const PostQuotePtr node = root->info().at(1).quote;
    EXPECT_EQ(node->parent(), root.get());
    EXPECT_EQ(node->tagslength(), 13 + 8);
    EXPECT_EQ(node->length(), 23);
    EXPECT_EQ(root->description(), u"<<hi> ok>");
    EXPECT_FALSE(PostQuote::initWithAuthor(QStringLiteral("x"), QString()));

    // A nested node made on its own starts with its parent's author.
    const PostQuotePtr child = PostQuote::initWithParent(node.get(), QStringLiteral("<<inner>> after"));
    EXPECT_EQ(child->author(), u"u1");
    EXPECT_EQ(child->parent(), node.get());
    EXPECT_EQ(child->length(), 9);
    const PostQuotePtr anonymous = PostQuote::initWithParent(node.get(), QStringLiteral("[QUOTE]x[/QUOTE]"));
    EXPECT_TRUE(anonymous->author().isNull());
}

TEST_F(PostQuoteParsing, DeepNestingStaysTextAndNothingIsReadPastTheEnd)
{
    QString deep;
    for (int i = 0; i < 200; ++i)
        deep += QStringLiteral("[QUOTE=a;%1]").arg(i);
    deep += QStringLiteral("core");
    for (int i = 0; i < 200; ++i)
        deep += QStringLiteral("[/QUOTE]");
    const PostQuotePtr root = parse(deep);
    int depth = 0;
    const PostQuote* node = root.get();
    while (node->info().size() > 1 && node->info().at(1).isQuote()) {
        node = node->info().at(1).quote.get();
        ++depth;
    }
    EXPECT_EQ(depth, PostQuote::MaxDepth);
    // The deepest node holds the rest of the opening tags as its text.
    EXPECT_TRUE(node->info().first().text.startsWith(QStringLiteral("[QUOTE=a;64]")));
    EXPECT_EQ(root->length(), deep.size());

    // Tags cut short at the very end.
    for (const char* tail : {"[QUOTE=", "[QUOTE=ann", "[QUOTE=ann;", "[QUOTE=ann;4", "[QUOTE", "[quo", "<<", "x<<y"}) {
        const QString text = QString::fromLatin1(tail);
        const PostQuotePtr cut = parse(text);
        ASSERT_TRUE(cut);
        EXPECT_EQ(cut->length(), text.size()) << tail;
    }
}

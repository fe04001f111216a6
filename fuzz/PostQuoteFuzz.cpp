// Feeds arbitrary text to the quote parser: it must never read past the end
// or nest deeper than its bound, and the tree must cover the text exactly
// (closing tags are written upper case, so the match ignores case).
#include "forum/model/Post.h"
#include "forum/model/PostQuote.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QString covered(const PostQuote& node, int depth)
{
    if (depth > PostQuote::MaxDepth)
        abort();
    QString text = node.opentag();
    for (const PostQuote::Part& part : node.info())
        text += part.isQuote() ? covered(*part.quote, depth + 1) : part.text;
    return text + node.closetag();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const PostQuotePtr root = PostQuote::initWithAuthor(QString(), text);
    if (!root || root->length() != text.size())
        abort();
    if (covered(*root, 0).compare(text, Qt::CaseInsensitive) != 0)
        abort();
    // The same text as a nested block and as a post's BB-code.
    const PostQuotePtr nested = PostQuote::initWithParent(root.get(), text);
    if (nested->length() > text.size())
        abort();
    const auto post = std::make_shared<Post>();
    post->setMessage_bbcode(text);
    post->setMessage(Value(text));
    post->message_nohtml();
    return 0;
}

#pragma once

#include <QString>

// Plain-text display of forum markup: quote BB-code turned into readable
// quotations, and HTML tags removed. A null text gives a null text.
namespace QuoteFormatter {

// Each "[QUOTE...]...[/QUOTE]" becomes an introduction ("Originally posted by
// name:" and a line feed, or "Quote: ") and the quote's last stretch of text
// in double quotes. Matching is case-insensitive. Markup that does not pair
// up (a closing tag with nothing open, an opening tag without "]") stays as
// it is.
QString messageWithFormattedQuotes(const QString& text);

// The member named in an opening tag that starts at from and whose "]" is at
// to: the text between the first "=" and the first ";" in [from, to).
// "[QUOTE=anna;123]" gives "anna"; "[QUOTE=anna]" and "[QUOTE]" give a null text.
QString extractUserNameForQuote(const QString& text, qsizetype from, qsizetype to);

// The text with every "<...>" removed, the words kept apart: white space
// reads as one blank (none in front), and a tag that ends a line or a block
// ("<br>", "</p>") as white space. "Forum <b>rules</b> updated" gives
// "Forum rules updated".
QString stripTags(const QString& text);

// What a quote of a post carries of the post's BB-code: all of it when it
// is no longer than `most` characters. A longer one is cut before `most`, at
// the last blank within reach (never inside a tag nor a character), the
// quotes it leaves open are closed, and a line then says that the rest was
// left out (the "quote_cut" text).
QString quotedPart(const QString& bbcode, qsizetype most);

// A title as the forum sends it (text, with "&" written "&amp;") as the text
// shown wherever it is drawn: "&amp;" read as "&", everything else as it is,
// "<" and ">" too.
QString titleText(const QString& title);

}  // namespace QuoteFormatter

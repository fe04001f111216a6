#pragma once

#include <QString>

// A forum text written in BB-code as a small HTML page body, for the screens
// that show an article or a blog entry's text: bold, italic, underlined and
// struck text, links, lists and quotations; line breaks kept. Everything else
// is shown as written. The text is escaped first, so nothing in it becomes
// markup of its own; links lead only to web, mail, in-app and relative
// addresses (any other link shows as its text).
namespace BBCodeHtml {

QString fromBBCode(const QString& text);
// Whether a link to the address may be made: a well-formed web, mail,
// in-app or relative address.
bool isLinkable(const QString& address);

}  // namespace BBCodeHtml

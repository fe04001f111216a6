#pragma once

#include <QString>

// Where a long web address may end a line when a page wraps it: only after
// one of its separators ("/", "?", "&", "=", ".", "-") past its scheme, never
// inside "http://" nor right after it. The line breaker alone would end a
// line after "http://" and keep "host.name" or "a=1&b=2" whole.
//
// The page's text is marked, never its tags, attribute values, styles or
// scripts: a zero-width space after each such separator (a place a line may
// end) and a word joiner after the scheme's "//" (a place it may not). Both
// are invisible; the address's link and text read as before.
class AddressBreaks {
public:
    AddressBreaks() = delete;

    static constexpr QChar kBreak = QChar(0x200B);
    static constexpr QChar kJoin = QChar(0x2060);

    // The HTML with the addresses in its text marked.
    static QString markedHtml(const QString& html);
    // One address as text (its "&" written "&amp;" or not), marked.
    static QString markedAddress(const QString& address);
};

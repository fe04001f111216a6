#pragma once

#include <QUrl>

// The one way out of the application: a web address ("http", "https", in
// any case) opens in the desktop's browser; any other address ("file:" and
// the rest) is refused with a short alert, and so is a web address that the
// desktop could not open.
class OutsideLink {
public:
    // Answers whether it opened.
    static bool open(const QUrl& url);
    // Whether the address is a web address (its scheme, in any case).
    static bool isWebAddress(const QUrl& url);
};

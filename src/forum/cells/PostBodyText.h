#pragma once

#include <QString>

// The text of a post row: BB-code as a reader sees it. Formatting tags
// ("[b]", "[color=...]", "[size=...]"...) go and their text stays; a link
// shows its text (or its address), list items start with a bullet on a line
// of their own, a picture shows as "[picture]". Quote tags are not touched:
// the quote tree has already taken them apart. Unknown tags stay as written.
namespace PostBodyText {
QString displayText(const QString& bbcode);
}

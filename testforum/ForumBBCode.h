#pragma once

#include <QMap>
#include <QString>

// The forum's side of BB-code: the HTML it serves as a post's "message" and the
// plain text of previews and searches. Text is escaped; only the forum's own
// tags become markup, and only web, mail, in-app ("mu") and relative
// addresses become links.
namespace ForumBBCode {

// `smilies` maps a code such as ":)" to the picture name served under "images/smilies/".
QString toHtml(const QString& bbcode, const QMap<QString, QString>& smilies);

// The text without its tags; quoted text is left out.
QString toPlain(const QString& bbcode);

// Minimal HTML escaping of text and attribute values.
QString escape(const QString& text);

}  // namespace ForumBBCode

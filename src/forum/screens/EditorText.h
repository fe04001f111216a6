#pragma once

#include "platform/ui/TextView.h"

#include <QString>

// A text and its selection after one of the editor's insertions.
struct EditorTextChange {
    QString text;
    TextRange selection;
};

// The editor's BB-code insertions, on a text and its selection (positions in
// UTF-16 code units, as the text view counts them).
namespace EditorText {
// With no selection, "[open][/close]" at the caret, the caret between the
// two; with one, the selection wrapped in them, the caret at the end.
EditorTextChange addTags(const QString& text, const TextRange& selection, const QString& open, const QString& close);
// The code at the selection's start; the selected text stays, selected after it.
EditorTextChange addEmoticon(const QString& text, const TextRange& selection, const QString& code);
// The selection wrapped in video tags, the caret just after them.
EditorTextChange wrapVideo(const QString& text, const TextRange& selection);
// The address in video tags at the end of the text, after a space.
QString appendVideo(const QString& text, const QString& address);
}  // namespace EditorText

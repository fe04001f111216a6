#include "forum/screens/EditorText.h"

#include "platform/foundation/TextFormat.h"

namespace {

// The selection within the text, whatever it was given as.
TextRange bounded(const QString& text, const TextRange& selection)
{
    const int size = int(text.size());
    const int location = qBound(0, selection.location, size);
    return TextRange{location, qBound(0, selection.length, size - location)};
}

}  // namespace

EditorTextChange EditorText::addTags(const QString& text, const TextRange& given, const QString& open,
                                     const QString& close)
{
    const TextRange range = bounded(text, given);
    const QString before = text.left(range.location);
    const QString after = text.mid(range.location + range.length);
    if (range.length == 0) {
        const QString changed = TextFormat::fill(QStringLiteral("%@[%@][/%@]%@"),
                                                 {Value(before), Value(open), Value(close), Value(after)});
        return {changed, TextRange{range.location + int(open.size()) + 2, 0}};
    }
    const QString changed =
        TextFormat::fill(QStringLiteral("%@[%@]%@[/%@]%@"), {Value(before), Value(open),
                                                             Value(text.mid(range.location, range.length)),
                                                             Value(close), Value(after)});
    return {changed, TextRange{int(changed.size()), 0}};
}

EditorTextChange EditorText::addEmoticon(const QString& text, const TextRange& given, const QString& code)
{
    const TextRange range = bounded(text, given);
    QString changed = text;
    changed.insert(range.location, code);
    return {changed, TextRange{range.location + int(code.size()), range.length}};
}

EditorTextChange EditorText::wrapVideo(const QString& text, const TextRange& given)
{
    const TextRange range = bounded(text, given);
    const QString changed = TextFormat::fill(
        QStringLiteral("%@[video]%@[/video]%@"),
        {Value(text.left(range.location)), Value(text.mid(range.location, range.length)),
         Value(text.mid(range.location + range.length))});
    return {changed, TextRange{range.location + range.length + 15, 0}};
}

QString EditorText::appendVideo(const QString& text, const QString& address)
{
    return TextFormat::fill(QStringLiteral("%@ [video]%@[/video]"), {Value(text), Value(address)});
}

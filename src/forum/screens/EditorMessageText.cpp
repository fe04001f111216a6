#include "forum/screens/EditorMessageText.h"

#include "forum/model/EditorDraft.h"

#include "platform/foundation/Localized.h"

#include <QColor>

namespace {

const QColor kPlaceholderColour(0xA0, 0xA7, 0xB0);

}  // namespace

void EditorMessageText::showPlaceholder()
{
    m_content->setText(placeholderText());
    m_content->setTextColor(kPlaceholderColour);
}

QString EditorMessageText::placeholderText()
{
    return localized("placeholder_content");
}

bool EditorMessageText::isBlank(const QString& text)
{
    return text.trimmed().isEmpty() || text == placeholderText();
}

QString EditorMessageText::messageText() const
{
    return m_draft.text();
}

void EditorMessageText::changedContent()
{
    if (!m_draft.touchText())
        return;
    m_content->setTextColor(Qt::black);
    putText(QString());
}

void EditorMessageText::setMessageText(const QString& text)
{
    changedContent();
    putText(text);
}

void EditorMessageText::putText(const QString& text)
{
    // Set from here the text view tells nobody: the draft is told at once.
    m_content->setText(text);
    m_draft.setText(text);
}

void EditorMessageText::textDidChange()
{
    m_draft.setText(m_content->text());
}

void EditorMessageText::writeChange(const Change& change)
{
    changedContent();
    const EditorTextChange changed = change(m_content->text(), m_content->selectedRange());
    putText(changed.text);
    m_content->setSelectedRange(changed.selection);
}

bool EditorMessageText::wrapSelectionInVideo()
{
    const TextRange selection = m_content->selectedRange();
    if (!m_draft.isTextTouched() || selection.length <= 0)
        return false;
    const EditorTextChange change = EditorText::wrapVideo(m_content->text(), selection);
    putText(change.text);
    m_content->setSelectedRange(change.selection);
    return true;
}

void EditorMessageText::appendVideo(const QString& address)
{
    // Out of the placeholder first, so that it is never sent with the video.
    changedContent();
    putText(EditorText::appendVideo(m_content->text(), address));
}

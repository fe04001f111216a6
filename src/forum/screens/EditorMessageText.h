#pragma once

#include "forum/screens/EditorText.h"

#include <QPointer>
#include <QString>

#include <functional>

class EditorDraft;
class TextView;

// The editor's text and its placeholder: the text view first shows, in grey,
// what goes there; the member's first touch (or a text put in) empties it
// and turns it black, once. The draft follows every change of the text, and
// never holds the placeholder.
class EditorMessageText {
public:
    // A change of the text and its selection.
    using Change = std::function<EditorTextChange(const QString& text, const TextRange& selection)>;

    explicit EditorMessageText(EditorDraft& draft) : m_draft(draft) {}

    // The editor's text view, once it is made.
    void setContent(TextView* content) { m_content = content; }
    // The placeholder, grey, in place of the text.
    void showPlaceholder();
    static QString placeholderText();
    // Empty, white space only, or the placeholder's text.
    static bool isBlank(const QString& text);

    // The text as written: empty while the placeholder shows.
    QString messageText() const;
    // Leaves the placeholder, once: the text is emptied and turns black.
    void changedContent();
    // Puts a text in, out of the placeholder state.
    void setMessageText(const QString& text);
    // The member typed in the text view.
    void textDidChange();
    // A change made where the caret is, out of the placeholder.
    void writeChange(const Change& change);
    // The selection wrapped in video tags; false while nothing written is selected.
    bool wrapSelectionInVideo();
    // The address in video tags at the end of the text.
    void appendVideo(const QString& address);

private:
    // Writes the text in, the draft's as well.
    void putText(const QString& text);

    EditorDraft& m_draft;
    QPointer<TextView> m_content;
};

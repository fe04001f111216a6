#pragma once

#include "forum/screens/EditorFormatBar.h"
#include "forum/screens/EditorText.h"

#include "platform/foundation/ClockTimer.h"

#include <QPointer>

#include <functional>

class EditorButtonStrip;
class View;

// The formatting of the editor's text while it is edited: a strip of buttons
// (font style, font size, emoticons) that slides in from the right above the
// keyboard, the bar of menus those buttons open, and the BB-code the menus
// write into the text.
class EditorFormatting : public EditorFormatBarDelegate {
public:
    // How long the strip waits before sliding in, and how long moves take.
    static constexpr qint64 kSlideDelayMs = 300;
    static constexpr double kMoveDuration = 0.3;
    // A change of the text and its selection.
    using Change = std::function<EditorTextChange(const QString& text, const TextRange& selection)>;
    // Makes the change in the text, as the editor keeps it.
    using Write = std::function<void(const Change& change)>;

    // The strip and the bar go into the root, hidden; the menus write through
    // the editor.
    EditorFormatting(View* root, Write write);
    ~EditorFormatting() override;

    EditorFormatBar* bar() const { return m_bar; }
    EditorButtonStrip* strip() const { return m_strip; }

    // Editing began: the strip stands just off the right edge with its top
    // at stripTop, and slides in after a moment; the bar opens above it.
    void beginEditing(qreal stripTop);
    // Editing ended: the strip slides out, and after a moment it and the
    // menus hide.
    void endEditing();
    // That menu, or none when it is the one shown.
    void toggle(EditorFormatBar::Menu menu);
    // The menus go, and the strip too while nothing is edited.
    void hide();

    void addTag(const QString& name) override;
    void addSize(int size) override;
    void addEmoticon(const QString& code) override;

private:
    void addTags(const QString& open, const QString& close);

    QPointer<View> m_root;
    Write m_write;
    EditorFormatBar* m_bar = nullptr;
    EditorButtonStrip* m_strip = nullptr;
    bool m_editing = false;
    ClockTimer m_slideTimer;
    ClockTimer m_hideTimer;
};

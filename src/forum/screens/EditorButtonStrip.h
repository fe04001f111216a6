#pragma once

#include "platform/ui/View.h"

class Button;

// The strip of formatting buttons the editor shows at the foot of the text
// while it is edited: font style, font size and emoticons, each opening its
// menu of the formatting bar.
class EditorButtonStrip : public View {
    Q_OBJECT
public:
    static constexpr qreal kWidth = 170;
    static constexpr qreal kHeight = 40;

    EditorButtonStrip();
    ~EditorButtonStrip() override;

    Button* fontStyleButton() const { return m_fontStyle; }
    Button* fontSizeButton() const { return m_fontSize; }
    Button* smileyButton() const { return m_smiley; }

private:
    Button* m_fontStyle;
    Button* m_fontSize;
    Button* m_smiley;
};

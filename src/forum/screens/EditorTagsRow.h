#pragma once

#include "platform/ui/View.h"

#include <QString>

class Button;
class Label;

// The editor's row of tags: a button that opens the tag screen, and the tags
// written, or "none". Dimmed while the target takes no tags.
class EditorTagsRow : public View {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 31;

    explicit EditorTagsRow(const QRectF& frame);

    Button* button() const { return m_button; }
    // Tags written for a target that takes none wait, unsent, for one that does.
    void setTagsEnabled(bool enabled, const QString& tags);
    void showTags(const QString& tags);

private:
    Button* m_button = nullptr;
    Label* m_list = nullptr;
};

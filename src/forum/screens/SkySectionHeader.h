#pragma once

#include "platform/ui/View.h"

class Label;

// The header of a section in the lists shown on the editor's dark sky (the
// forum picker, the prefix list): the title in bold white, 44 points high.
class SkySectionHeader : public View {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 44.0;

    explicit SkySectionHeader(const QString& title);

    Label* label() const { return m_label; }

private:
    Label* m_label;
};

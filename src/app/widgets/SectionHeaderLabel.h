#pragma once

#include <QRectF>
#include <QString>

class Label;

// The header of a list's or a form's section: the text indented by four
// blanks on the left (a right-to-left text keeps its own direction after
// them), bold 13, in the theme's category colour on its background.
class SectionHeaderLabel {
public:
    static Label* make(const QRectF& frame, const QString& text);
};

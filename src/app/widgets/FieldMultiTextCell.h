#pragma once

#include "app/widgets/FieldButtonCell.h"

#include "platform/ui/InputPanel.h"
#include "platform/ui/TextView.h"

#include <QPointer>

// The row of a text of several lines: titled with the text once written,
// else the label. A tap opens a panel with a text view; Done keeps the text,
// Escape or the shade leaves the field's text as it was.
class FieldMultiTextCell : public FieldButtonCell {
    Q_OBJECT
public:
    InputPanel* modalView() const { return m_panel; }
    TextView* textView() const { return m_textView; }

    void changeText();
    void done();
    void setTextTitle(const QString& text);

protected:
    void fill() override;
    void tapped() override { changeText(); }

private:
    QPointer<InputPanel> m_panel;
    QPointer<TextView> m_textView;
    std::weak_ptr<Field> m_chosenFor;
};

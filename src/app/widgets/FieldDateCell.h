#pragma once

#include "app/widgets/FieldButtonCell.h"

#include "platform/ui/DatePicker.h"
#include "platform/ui/InputPanel.h"

#include <QDate>
#include <QPointer>

// The row of a date: titled with the date in the long style once one is set,
// else with the label. A tap opens a panel with a date picker that offers no
// day after today; Done sets the field's date (its observers hear of it),
// Escape or a click on the shade leaves the field as it was.
class FieldDateCell : public FieldButtonCell {
    Q_OBJECT
public:
    // The panel and its picker while the panel is open.
    InputPanel* modalView() const { return m_panel; }
    DatePicker* picker() const { return m_picker; }

    void changeDate();
    void done();
    void setDateTitle(const QDate& date);

protected:
    void fill() override;
    void tapped() override { changeDate(); }

private:
    QPointer<InputPanel> m_panel;
    QPointer<DatePicker> m_picker;
    // The field the open panel chooses for.
    std::weak_ptr<Field> m_chosenFor;
};

#pragma once

#include "app/model/FieldOption.h"
#include "app/widgets/FieldButtonCell.h"

#include "platform/ui/InputPanel.h"
#include "platform/ui/PickerView.h"

#include <QPointer>

// The row of a choice among options: titled with the chosen option's text,
// else the label. A tap opens a panel with a one-column picker of the
// options, on the chosen one; Done chooses the picked one (a field without
// options keeps its choice), Escape or the shade leaves the choice as it was.
class FieldPickerCell : public FieldButtonCell, public PickerViewDataSource, public PickerViewDelegate {
    Q_OBJECT
public:
    InputPanel* modalView() const { return m_panel; }
    PickerView* picker() const { return m_picker; }

    void changeValue();
    void done();

    int numberOfComponentsInPickerView(PickerView*) override { return 1; }
    int numberOfRowsInComponent(PickerView* pickerView, int component) override;
    QString titleForRow(PickerView* pickerView, int row, int component) override;

protected:
    void fill() override;
    void tapped() override { changeValue(); }

private:
    QList<FieldOptionPtr> openOptions() const;

    QPointer<InputPanel> m_panel;
    QPointer<PickerView> m_picker;
    std::weak_ptr<Field> m_chosenFor;
};

#pragma once

#include "app/model/FieldOption.h"
#include "app/widgets/FieldButtonCell.h"

#include "platform/ui/InputPanel.h"
#include "platform/ui/TableView.h"

#include <QPointer>

// The row of any number of choices: titled with the chosen options' texts,
// else the label. A tap opens a panel listing the options with a check mark
// on each chosen one; a tap on an option (or Space on the keyboard's row)
// chooses it or lets it go, each option at most once. Done keeps the
// choices made on the panel; Escape or the shade leaves them as they were.
class FieldMultiPickerCell : public FieldButtonCell, public TableViewDataSource, public TableViewDelegate {
    Q_OBJECT
public:
    InputPanel* modalView() const { return m_panel; }
    TableView* pickerTable() const { return m_pickerTable; }

    void changeValue();
    void done();

    int numberOfRowsInSection(TableView* tableView, int section) override;
    TableViewCell* cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;

protected:
    void fill() override;
    void tapped() override { changeValue(); }

private:
    QList<FieldOptionPtr> openOptions() const;

    QPointer<InputPanel> m_panel;
    QPointer<TableView> m_pickerTable;
    std::weak_ptr<Field> m_chosenFor;
    // The choices on the open panel, in choosing order, until Done.
    QList<FieldOptionPtr> m_chosen;
};

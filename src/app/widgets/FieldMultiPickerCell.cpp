#include "app/widgets/FieldMultiPickerCell.h"

#include "app/model/FieldMultiPicker.h"
#include "app/widgets/LoadCellNib.h"
#include "app/widgets/MultiPickerCell.h"

#include "platform/ui/InputPanel.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"

namespace {

QString chosenTexts(const QList<FieldOptionPtr>& chosen)
{
    QStringList texts;
    for (const FieldOptionPtr& option : chosen)
        texts.append(option->val());
    return texts.join(QStringLiteral(", "));
}

}  // namespace

void FieldMultiPickerCell::fill()
{
    const auto field = fieldAs<FieldMultiPicker>();
    showTitle(field ? chosenTexts(field->selectedOptions()) : QString());
}

QList<FieldOptionPtr> FieldMultiPickerCell::openOptions() const
{
    const auto field = std::dynamic_pointer_cast<FieldMultiPicker>(m_chosenFor.lock());
    return field ? field->options() : QList<FieldOptionPtr>();
}

void FieldMultiPickerCell::changeValue()
{
    const auto field = fieldAs<FieldMultiPicker>();
    if (!field || m_panel)
        return;
    endTextEditing();
    m_chosenFor = field;
    m_chosen = field->selectedOptions();
    m_pickerTable = new TableView(QRectF(0, 0, 320, 216), TableViewStyle::Plain);
    // White below the last option too: the panel covers the form.
    m_pickerTable->setBackgroundColor(Qt::white);
    m_pickerTable->setOpaque(true);
    m_pickerTable->setKeyboardChoosesRows(true);
    m_pickerTable->setDataSource(this);
    m_pickerTable->setDelegate(this);
    m_pickerTable->reloadData();
    const WeakRef<FieldMultiPickerCell> self(this);
    m_panel = new InputPanel(m_pickerTable, [self] {
        if (FieldMultiPickerCell* cell = self.get())
            cell->done();
    });
    m_panel->open();
}

void FieldMultiPickerCell::done()
{
    const auto field = std::dynamic_pointer_cast<FieldMultiPicker>(m_chosenFor.lock());
    if (!field)
        return;
    field->setSelectedOptions(m_chosen);
    if (callback() == field.get())
        showTitle(chosenTexts(field->selectedOptions()));
}

int FieldMultiPickerCell::numberOfRowsInSection(TableView*, int)
{
    return int(openOptions().size());
}

TableViewCell* FieldMultiPickerCell::cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    MultiPickerCell* cell = loadCellNibForTableView<MultiPickerCell>(tableView);
    const auto field = std::dynamic_pointer_cast<FieldMultiPicker>(m_chosenFor.lock());
    const QList<FieldOptionPtr> options = openOptions();
    if (field && indexPath.row < options.size()) {
        const FieldOptionPtr& option = options.at(indexPath.row);
        cell->title()->setText(option->val());
        cell->setChosen(m_chosen.contains(option));
    }
    return cell;
}

void FieldMultiPickerCell::didSelectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    const auto field = std::dynamic_pointer_cast<FieldMultiPicker>(m_chosenFor.lock());
    const QList<FieldOptionPtr> options = openOptions();
    if (!field || indexPath.row >= options.size())
        return;
    const FieldOptionPtr& option = options.at(indexPath.row);
    if (!m_chosen.removeAll(option))
        m_chosen.append(option);
    if (auto* row = dynamic_cast<MultiPickerCell*>(tableView->cellForRowAtIndexPath(indexPath)))
        row->setChosen(m_chosen.contains(option));
}

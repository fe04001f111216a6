#include "app/widgets/FieldPickerCell.h"

#include "app/model/FieldPicker.h"

#include "platform/ui/InputPanel.h"

void FieldPickerCell::fill()
{
    const auto field = fieldAs<FieldPicker>();
    const FieldOption* selected = field ? field->selected() : nullptr;
    showTitle(selected ? selected->val() : QString());
}

QList<FieldOptionPtr> FieldPickerCell::openOptions() const
{
    const auto field = std::dynamic_pointer_cast<FieldPicker>(m_chosenFor.lock());
    return field ? field->options() : QList<FieldOptionPtr>();
}

void FieldPickerCell::changeValue()
{
    const auto field = fieldAs<FieldPicker>();
    if (!field || m_panel)
        return;
    endTextEditing();
    m_chosenFor = field;
    m_picker = new PickerView();
    m_picker->setDataSource(this);
    m_picker->setDelegate(this);
    m_picker->reloadAllComponents();
    for (qsizetype row = 0; row < field->options().size(); ++row) {
        if (field->options().at(row).get() == field->selected())
            m_picker->selectRow(int(row), 0, false);
    }
    const WeakRef<FieldPickerCell> self(this);
    m_panel = new InputPanel(m_picker, [self] {
        if (FieldPickerCell* cell = self.get())
            cell->done();
    });
    m_panel->open();
}

void FieldPickerCell::done()
{
    const auto field = std::dynamic_pointer_cast<FieldPicker>(m_chosenFor.lock());
    if (!field || !m_picker)
        return;
    const int row = m_picker->selectedRowInComponent(0);
    // No options, no row: the choice stays as it was.
    if (row < 0 || row >= field->options().size())
        return;
    const FieldOptionPtr option = field->options().at(row);
    field->setSelected(option.get());
    if (callback() == field.get())
        showTitle(option->val());
}

int FieldPickerCell::numberOfRowsInComponent(PickerView*, int)
{
    return int(openOptions().size());
}

QString FieldPickerCell::titleForRow(PickerView*, int row, int)
{
    const QList<FieldOptionPtr> options = openOptions();
    return row >= 0 && row < options.size() ? options.at(row)->val() : QString();
}

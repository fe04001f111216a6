#include "app/widgets/FieldDateCell.h"

#include "app/model/FieldDate.h"

#include "platform/ui/DatePicker.h"
#include "platform/ui/InputPanel.h"

#include "platform/foundation/Clock.h"
#include "platform/foundation/DateFormatter.h"

#include <QLocale>

void FieldDateCell::fill()
{
    const auto field = fieldAs<FieldDate>();
    setDateTitle(field ? field->date() : QDate());
}

void FieldDateCell::setDateTitle(const QDate& date)
{
    showTitle(DateFormatter::longDateString(date, QLocale().name()));
}

void FieldDateCell::changeDate()
{
    const auto field = fieldAs<FieldDate>();
    if (!field || m_panel)
        return;
    endTextEditing();
    m_chosenFor = field;
    m_picker = new DatePicker();
    // No future dates.
    m_picker->setMaximumDate(Clock::current().now().toLocalTime().date());
    if (field->date().isValid())
        m_picker->setDate(field->date());
    const WeakRef<FieldDateCell> self(this);
    m_panel = new InputPanel(m_picker, [self] {
        if (FieldDateCell* cell = self.get())
            cell->done();
    });
    m_panel->open();
}

void FieldDateCell::done()
{
    const auto field = std::dynamic_pointer_cast<FieldDate>(m_chosenFor.lock());
    if (!field || !m_picker)
        return;
    const QDate date = m_picker->date();
    if (callback() == field.get())
        setDateTitle(date);
    field->setDate(date);
}

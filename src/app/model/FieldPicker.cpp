#include "app/model/FieldPicker.h"

void FieldPicker::setOptions(const QList<FieldOptionPtr>& options)
{
    m_options = options;
    // A choice among the former options is no choice among these.
    setSelected(m_selected.get());
}

void FieldPicker::setSelected(FieldOption* option)
{
    m_selected.reset();
    for (const FieldOptionPtr& candidate : std::as_const(m_options)) {
        if (candidate.get() == option) {
            m_selected = option;
            return;
        }
    }
}

Value FieldPicker::value() const
{
    const FieldOption* option = m_selected.get();
    return option && !option->key().isNull() ? Value(option->key()) : Value();
}

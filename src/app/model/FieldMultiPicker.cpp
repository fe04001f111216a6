#include "app/model/FieldMultiPicker.h"

void FieldMultiPicker::setOptions(const QList<FieldOptionPtr>& options)
{
    m_options = options;
    m_selectedOptions.removeIf([this](const FieldOptionPtr& chosen) { return !m_options.contains(chosen); });
}

void FieldMultiPicker::addSelectedOption(const FieldOptionPtr& option)
{
    if (option && m_options.contains(option) && !m_selectedOptions.contains(option))
        m_selectedOptions.append(option);
}

void FieldMultiPicker::removeSelectedOption(const FieldOptionPtr& option)
{
    m_selectedOptions.removeAll(option);
}

void FieldMultiPicker::setSelectedOptions(const QList<FieldOptionPtr>& options)
{
    m_selectedOptions.clear();
    for (const FieldOptionPtr& option : options)
        addSelectedOption(option);
}

void FieldMultiPicker::toggleOption(const FieldOptionPtr& option)
{
    if (isSelected(option))
        removeSelectedOption(option);
    else
        addSelectedOption(option);
}

Value FieldMultiPicker::value() const
{
    ValueList keys;
    for (const FieldOptionPtr& option : m_selectedOptions) {
        if (!option->key().isNull())
            keys.push_back(Value(option->key()));
    }
    return Value(std::move(keys));
}

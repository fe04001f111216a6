#pragma once

#include "app/model/Field.h"
#include "app/model/FieldOption.h"

#include <QList>

// Any number of choices among options, kept in the order they were chosen.
class FieldMultiPicker : public Field {
public:
    using Field::Field;

    const QList<FieldOptionPtr>& options() const { return m_options; }
    void setOptions(const QList<FieldOptionPtr>& options);
    const QList<FieldOptionPtr>& selectedOptions() const { return m_selectedOptions; }
    // Chooses one of the options; an option already chosen, or not one of
    // this field's, changes nothing (it would be sent twice).
    void addSelectedOption(const FieldOptionPtr& option);
    void removeSelectedOption(const FieldOptionPtr& option);
    // The choices as given, each of this field's options at most once.
    void setSelectedOptions(const QList<FieldOptionPtr>& options);
    // Chooses the option, or lets it go when it was chosen.
    void toggleOption(const FieldOptionPtr& option);
    bool isSelected(const FieldOptionPtr& option) const { return m_selectedOptions.contains(option); }

    // The keys of the chosen options in choosing order (a list, also when empty).
    Value value() const override;

private:
    QList<FieldOptionPtr> m_options;
    QList<FieldOptionPtr> m_selectedOptions;
};

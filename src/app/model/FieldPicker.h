#pragma once

#include "app/model/Field.h"
#include "app/model/FieldOption.h"

#include <QList>

// One choice among options.
class FieldPicker : public Field {
public:
    using Field::Field;

    const QList<FieldOptionPtr>& options() const { return m_options; }
    void setOptions(const QList<FieldOptionPtr>& options);
    // The chosen option (one of the options), or null.
    FieldOption* selected() const { return m_selected.get(); }
    // An option that is not one of this field's chooses nothing.
    void setSelected(FieldOption* option);

    // The chosen option's key; nothing when none is chosen.
    Value value() const override;

private:
    QList<FieldOptionPtr> m_options;
    WeakRef<FieldOption> m_selected;
};

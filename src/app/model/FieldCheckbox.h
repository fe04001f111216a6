#pragma once

#include "app/model/Field.h"

// A box to tick; its value is the truth of the tick, also when unticked.
class FieldCheckbox : public Field {
public:
    using Field::Field;

    bool checked() const { return m_checked; }
    void setChecked(bool checked) { m_checked = checked; }
    Value value() const override { return Value(m_checked); }

private:
    bool m_checked = false;
};

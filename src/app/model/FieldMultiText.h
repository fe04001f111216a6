#pragma once

#include "app/model/Field.h"

// A text of several lines, entered on a panel of its own.
class FieldMultiText : public Field {
public:
    using Field::Field;

    QString text() const { return m_value; }
    void setValue(const QString& value) { m_value = value; }
    Value value() const override { return m_value.isNull() ? Value() : Value(m_value); }

private:
    QString m_value;
};

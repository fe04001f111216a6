#pragma once

#include "app/model/Field.h"

// A one-line text entry.
class FieldText : public Field {
public:
    using Field::Field;

    QString text() const { return m_value; }
    void setValue(const QString& value) { m_value = value; }
    Value value() const override { return m_value.isNull() ? Value() : Value(m_value); }
    bool isFocusable() const override { return true; }

private:
    QString m_value;
};

#pragma once

#include "app/model/Field.h"

// A row that opens a page of HTML (the forum's rules); it sends nothing.
class FieldLink : public Field {
public:
    using Field::Field;

    QString html() const { return m_html; }
    void setHtml(const QString& html) { m_html = html; }
    Value value() const override { return Value(); }

private:
    QString m_html;
};

#include "app/model/Field.h"

Field::Field(const QString& label, const QString& description, const QString& name)
    : m_label(label), m_name(name), m_description(description)
{
}

Field::~Field() = default;

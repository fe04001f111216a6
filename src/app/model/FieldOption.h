#pragma once

#include "app/model/Model.h"

#include <QString>

#include <memory>

// One choice of a picker field: the value sent and the text shown.
class FieldOption : public Model {
public:
    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    QString key() const { return m_key; }
    void setKey(const QString& key) { m_key = key; }
    QString val() const { return m_val; }
    void setVal(const QString& val) { m_val = val; }

private:
    QString m_key;
    QString m_val;
};

using FieldOptionPtr = std::shared_ptr<FieldOption>;

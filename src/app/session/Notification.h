#pragma once

#include "app/model/Model.h"

#include <QString>

// One counter of the forum-home answer's notifications ("notifications_menubits").
class Notification : public Model {
public:
    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    QString phrase() const { return m_phrase; }
    void setPhrase(const QString& phrase) { m_phrase = phrase; }
    qint32 total() const { return m_total; }
    void setTotal(qint32 total) { m_total = total; }
    QString name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    // The nested "notification" dictionary carries the same keys as the element.
    void setNotification(const Value& notification);

private:
    QString m_phrase;
    qint32 m_total = 0;
    QString m_name;
};

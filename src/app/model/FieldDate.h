#pragma once

#include "app/model/Field.h"
#include "app/model/FieldDateObserver.h"

#include "platform/foundation/NonRetainingSet.h"

#include <QDate>

// A day of the calendar, chosen on a panel. Its observers are not owned: an
// observer that goes is simply no longer told, and removes itself when it can.
class FieldDate : public Field {
public:
    FieldDate(const QString& label, const QString& name, FieldDateObserver* observer = nullptr);

    QDate date() const { return m_date; }
    // Tells every observer, once each.
    void setDate(const QDate& date);
    void addObserver(FieldDateObserver* observer) { m_observers.add(observer); }
    void removeObserver(FieldDateObserver* observer) { m_observers.remove(observer); }

    // The day at noon local time, so that no time zone moves it to another
    // day; nothing before a date is chosen.
    Value value() const override;

private:
    QDate m_date;
    NonRetainingSet<FieldDateObserver> m_observers;
};

#include "app/model/FieldDate.h"

#include <QDateTime>
#include <QTime>

FieldDate::FieldDate(const QString& label, const QString& name, FieldDateObserver* observer)
    : Field(label, QString(), name)
{
    addObserver(observer);
}

void FieldDate::setDate(const QDate& date)
{
    m_date = date;
    m_observers.forEach([](FieldDateObserver* observer) { observer->onDateOfBirthChange(); });
}

Value FieldDate::value() const
{
    return m_date.isValid() ? Value(QDateTime(m_date, QTime(12, 0))) : Value();
}

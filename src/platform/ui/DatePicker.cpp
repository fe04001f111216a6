#include "platform/ui/DatePicker.h"

#include "platform/foundation/Clock.h"

#include <QLocale>

DatePicker::DatePicker(const QRectF& frame) : Control(frame), m_picker(new PickerView(QRectF(QPointF(0, 0), frame.size())))
{
    m_date = Clock::current().now().toLocalTime().date();
    m_picker->setDataSource(this);
    m_picker->setDelegate(this);
    addSubview(m_picker);
    m_picker->reloadAllComponents();
    showDate();
}

QDate DatePicker::clamped(const QDate& date) const
{
    if (!date.isValid())
        return m_date;
    if (m_maximum.isValid() && date > m_maximum)
        return m_maximum;
    if (m_minimum.isValid() && date < m_minimum)
        return m_minimum;
    return date;
}

void DatePicker::setDate(const QDate& date, bool)
{
    m_date = clamped(date);
    showDate();
}

void DatePicker::setMaximumDate(const QDate& date)
{
    m_maximum = date;
    m_picker->reloadAllComponents();
    setDate(m_date);
}

void DatePicker::setMinimumDate(const QDate& date)
{
    m_minimum = date;
    m_picker->reloadAllComponents();
    setDate(m_date);
}

void DatePicker::showDate()
{
    m_picker->selectRow(m_date.month() - 1, 0, false);
    m_picker->selectRow(m_date.day() - 1, 1, false);
    m_picker->selectRow(m_date.year() - m_minimum.year(), 2, false);
}

int DatePicker::numberOfRowsInComponent(PickerView*, int component)
{
    if (component == 0)
        return 12;
    if (component == 1)
        return 31;
    return qMax(1, m_maximum.year() - m_minimum.year() + 1);
}

QString DatePicker::titleForRow(PickerView*, int row, int component)
{
    if (component == 0)
        return QLocale(QLocale::English).monthName(row + 1);
    if (component == 1)
        return QString::number(row + 1);
    return QString::number(m_minimum.year() + row);
}

qreal DatePicker::widthForComponent(PickerView*, int component)
{
    return component == 0 ? 140 : component == 1 ? 50 : 0;
}

void DatePicker::didSelectRow(PickerView*, int, int)
{
    const int month = m_picker->selectedRowInComponent(0) + 1;
    const int year = m_minimum.year() + m_picker->selectedRowInComponent(2);
    // A day past the month's end falls back to its last day.
    const int day = qMin(m_picker->selectedRowInComponent(1) + 1, QDate(year, month, 1).daysInMonth());
    m_date = clamped(QDate(year, month, day));
    showDate();
    sendActionsForControlEvents(ControlEvent::ValueChanged);
}

void DatePicker::layoutSubviews()
{
    m_picker->setFrame(bounds());
}

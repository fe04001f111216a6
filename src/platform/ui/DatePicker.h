#pragma once

#include "platform/ui/Control.h"
#include "platform/ui/PickerView.h"

#include <QDate>

// A picker of a date: month, day and year columns. A date the user picks past
// the maximum (or before the minimum) is moved back inside. Sends
// ValueChanged when the user changes it; setDate in code sends nothing.
class DatePicker : public Control, public PickerViewDataSource, public PickerViewDelegate {
    Q_OBJECT
public:
    explicit DatePicker(const QRectF& frame = QRectF(0, 0, 320, PickerView::kHeight));

    QDate date() const { return m_date; }
    void setDate(const QDate& date, bool animated = false);
    QDate maximumDate() const { return m_maximum; }
    void setMaximumDate(const QDate& date);
    QDate minimumDate() const { return m_minimum; }
    void setMinimumDate(const QDate& date);
    PickerView* pickerView() const { return m_picker; }

    int numberOfComponentsInPickerView(PickerView*) override { return 3; }
    int numberOfRowsInComponent(PickerView*, int component) override;
    QString titleForRow(PickerView*, int row, int component) override;
    void didSelectRow(PickerView*, int row, int component) override;
    qreal widthForComponent(PickerView*, int component) override;

    void layoutSubviews() override;
    // The keyboard goes to the columns.
    bool canBecomeFirstResponder() const override { return true; }
    bool becomeFirstResponder() override { return m_picker->becomeFirstResponder(); }
    bool isFirstResponder() const override { return m_picker->isFirstResponder(); }

private:
    QDate clamped(const QDate& date) const;
    void showDate();

    PickerView* m_picker;
    QDate m_date;
    QDate m_minimum = QDate(1900, 1, 1);
    QDate m_maximum = QDate(2100, 12, 31);
};

#pragma once

#include "platform/ui/View.h"

#include "platform/foundation/ClockTimer.h"

#include <QList>

class PickerView;

// What a picker shows: columns ("components") of rows.
class PickerViewDataSource : public virtual Trackable {
public:
    virtual int numberOfComponentsInPickerView(PickerView* pickerView) = 0;
    virtual int numberOfRowsInComponent(PickerView* pickerView, int component) = 0;
};

// Titles of rows, and told when the user picks a row.
class PickerViewDelegate : public virtual Trackable {
public:
    virtual QString titleForRow(PickerView* pickerView, int row, int component) { return QString(); }
    virtual void didSelectRow(PickerView* pickerView, int row, int component) {}
    // A column's share of the width; 0 shares the width evenly.
    virtual qreal widthForComponent(PickerView* pickerView, int component) { return 0; }
};

// The spinning columns of rows (216 points high), the chosen row of each in
// the glass band across the middle. Clicking a row, the band's too, picks it
// and tells the delegate. The mouse wheel turns the column a row a notch and
// tells the delegate of the row in the band once the wheel has rested, as a
// spun column tells when it stops. selectRow in code tells no one. From the
// keyboard, Up and Down pick in the column that has the keyboard (outlined
// while the picker has it), Left and Right move the keyboard to another
// column; other keys go on to the picker's container.
class PickerView : public View {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 216;
    static constexpr qreal kRowHeight = 44;
    // How long the wheel stays still before its row counts as picked.
    static constexpr int kWheelRestMs = 400;

    explicit PickerView(const QRectF& frame = QRectF(0, 0, 320, kHeight));

    PickerViewDataSource* dataSource() const { return m_dataSource.get(); }
    void setDataSource(PickerViewDataSource* source) { m_dataSource = WeakRef<PickerViewDataSource>(source); }
    PickerViewDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(PickerViewDelegate* delegate) { m_delegate = WeakRef<PickerViewDelegate>(delegate); }

    void reloadAllComponents();
    void reloadComponent(int component);
    int numberOfComponents() const { return int(m_selected.size()); }
    int numberOfRowsInComponent(int component) const;
    void selectRow(int row, int component, bool animated);
    // -1 when the column has no rows.
    int selectedRowInComponent(int component) const;
    // Picks a row as the user does (tells the delegate).
    void pickRow(int row, int component);
    // True while the delegate hears of the row the wheel turned to, rather
    // than one the user clicked.
    bool isPickingByWheel() const { return m_pickingByWheel; }

    // The column the keyboard picks in; it wears the focus mark.
    int keyboardComponent() const { return m_keyboardComponent; }
    // Where a column's wheel is drawn, in the picker's points.
    QRectF componentRect(int component) const;

    void drawRect(QPainter& painter, const QRectF& rect) override;
    void touchesBegan(const QPointF& point) override {}
    void touchesEnded(const QPointF& point) override;
    bool canBecomeFirstResponder() const override { return true; }

protected:
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int componentAt(const QPointF& point) const;
    // The wheel has rested: the delegate hears of the row it turned to.
    void wheelRested();

    WeakRef<PickerViewDataSource> m_dataSource;
    WeakRef<PickerViewDelegate> m_delegate;
    QList<int> m_selected;
    QList<int> m_rows;
    ClockTimer m_wheelRest;
    int m_wheelComponent = -1;
    int m_wheelStartRow = -1;
    int m_wheelDelta = 0;
    bool m_pickingByWheel = false;
    int m_keyboardComponent = 0;
};

#pragma once

#include "platform/ui/View.h"

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
// the glass band across the middle. Clicking a row above or below the band,
// or turning the wheel, picks it and tells the delegate; selectRow in code
// tells no one.
class PickerView : public View {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 216;
    static constexpr qreal kRowHeight = 44;

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

    void drawRect(QPainter& painter, const QRectF& rect) override;
    void touchesBegan(const QPointF& point) override {}
    void touchesEnded(const QPointF& point) override;

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    QRectF componentRect(int component) const;
    int componentAt(const QPointF& point) const;

    WeakRef<PickerViewDataSource> m_dataSource;
    WeakRef<PickerViewDelegate> m_delegate;
    QList<int> m_selected;
    QList<int> m_rows;
};

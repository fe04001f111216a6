#pragma once

#include "platform/ui/PickerView.h"
#include "platform/ui/View.h"

#include <QStringList>

#include <functional>

// The home screen's choice of the kind of content: a wheel of kinds under a
// "done" bar, slid up over the screen while the filter is chosen and down out
// of sight after. A tap above it closes it.
class HomeFilterPanel : public View, public PickerViewDataSource, public PickerViewDelegate {
    Q_OBJECT
public:
    // Where the panel waits, and its size.
    static inline const QRectF kStart = QRectF(0, 480, 320, 460);

    HomeFilterPanel();

    PickerView* picker() const { return m_picker; }
    void setRows(const QStringList& titles);
    // Turns the wheel to the row, telling nobody.
    void selectRow(int row);
    // Told of a row chosen by a click or a turn of the wheel; answers whether
    // it was taken. Taken, the panel closes unless the wheel is turning.
    void setOnChoice(std::function<bool(int row)> choice) { m_choice = std::move(choice); }

    // Up over the screen's root, in front of everything.
    void open(View* root);
    // Down out of sight.
    void close();

    int numberOfComponentsInPickerView(PickerView* pickerView) override;
    int numberOfRowsInComponent(PickerView* pickerView, int component) override;
    QString titleForRow(PickerView* pickerView, int row, int component) override;
    void didSelectRow(PickerView* pickerView, int row, int component) override;

private:
    PickerView* m_picker = nullptr;
    QStringList m_rows;
    std::function<bool(int row)> m_choice;
};

#include "UiTestSupport.h"

#include "platform/ui/DatePicker.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/Switch.h"

#include <QWheelEvent>

namespace {

class Filters : public PickerViewDataSource, public PickerViewDelegate {
public:
    QStringList names{QStringLiteral("All"), QStringLiteral("Threads"), QStringLiteral("Posts"),
                      QStringLiteral("Blogs")};
    QList<int> picked;
    int numberOfComponentsInPickerView(PickerView*) override { return 1; }
    int numberOfRowsInComponent(PickerView*, int) override { return int(names.size()); }
    QString titleForRow(PickerView*, int row, int) override { return names[row]; }
    void didSelectRow(PickerView*, int row, int) override { picked.append(row); }
};

class PickerTest : public UiTest {};

}  // namespace

TEST_F(PickerTest, SelectingInCodeTellsNoOneAndTheUserPicksByClickOrWheel)
{
    Filters filters;
    auto* picker = new PickerView(QRectF(0, 264, 320, 216));
    picker->setDataSource(&filters);
    picker->setDelegate(&filters);
    window->addSubview(picker);
    picker->reloadAllComponents();
    EXPECT_EQ(picker->selectedRowInComponent(0), 0);
    picker->selectRow(2, 0, true);
    EXPECT_EQ(picker->selectedRowInComponent(0), 2);
    EXPECT_TRUE(filters.picked.isEmpty());
    // A click one row below the band picks the next row.
    tap(QPointF(160, 264 + 108 + 44));
    EXPECT_EQ(filters.picked, QList<int>({3}));
    QWheelEvent up(QPointF(160, 100), window->mapToGlobal(QPointF(160, 364)), QPoint(), QPoint(0, 120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(picker, &up);
    EXPECT_EQ(filters.picked, QList<int>({3, 2}));
    picker->pickRow(99, 0);
    EXPECT_EQ(picker->selectedRowInComponent(0), 3) << "rows past the end stop at the last";
    filters.names.clear();
    picker->reloadAllComponents();
    EXPECT_EQ(picker->selectedRowInComponent(0), -1);
}

TEST_F(PickerTest, DatesStayWithinTheMaximumAndTheSwitchTurnsOnATap)
{
    auto* birthday = new DatePicker();
    window->addSubview(birthday);
    int changes = 0;
    birthday->addAction([&changes](Control*) { ++changes; }, ControlEvent::ValueChanged);
    birthday->setMaximumDate(QDate(2026, 1, 1));
    birthday->setDate(QDate(2030, 5, 5));
    EXPECT_EQ(birthday->date(), QDate(2026, 1, 1));
    birthday->setDate(QDate(1990, 1, 31));
    EXPECT_EQ(changes, 0);
    // The user turns the month to February: the 31st falls back to the 28th.
    birthday->pickerView()->pickRow(1, 0);
    EXPECT_EQ(birthday->date(), QDate(1990, 2, 28));
    EXPECT_EQ(changes, 1);
    birthday->pickerView()->pickRow(birthday->pickerView()->numberOfRowsInComponent(2) - 1, 2);
    EXPECT_EQ(birthday->date(), QDate(2026, 1, 1)) << "past the maximum the date comes back";

    auto* toggle = new Switch(QPointF(200, 40));
    window->addSubview(toggle);
    int flips = 0;
    toggle->addAction([&flips](Control*) { ++flips; }, ControlEvent::ValueChanged);
    toggle->setOn(true);
    EXPECT_EQ(flips, 0);
    tap(QPointF(240, 50));
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(flips, 1);
}

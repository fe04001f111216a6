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
    // A click one row below the band picks the next row; a click on the
    // band picks the row in it.
    tap(QPointF(160, 264 + 108 + 44));
    EXPECT_EQ(filters.picked, QList<int>({3}));
    tap(QPointF(160, 264 + 108));
    EXPECT_EQ(filters.picked, QList<int>({3, 3}));
    // The wheel turns a row a notch, and the row counts once the wheel rests.
    const auto turn = [&](int delta) {
        QWheelEvent wheel(QPointF(160, 100), window->mapToGlobal(QPointF(160, 364)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(picker, &wheel);
    };
    turn(120);
    EXPECT_EQ(picker->selectedRowInComponent(0), 2);
    turn(60);
    turn(60);
    EXPECT_EQ(picker->selectedRowInComponent(0), 1) << "two half notches of a touchpad make one";
    clock->advance(PickerView::kWheelRestMs - 1);
    EXPECT_EQ(filters.picked, QList<int>({3, 3}));
    clock->advance(1);
    EXPECT_EQ(filters.picked, QList<int>({3, 3, 1}));
    // Back where it started: nothing to tell; a click before the rest decides.
    turn(-120);
    turn(120);
    clock->advance(PickerView::kWheelRestMs);
    EXPECT_EQ(filters.picked, QList<int>({3, 3, 1}));
    turn(-120);
    tap(QPointF(160, 264 + 108 - 44));
    clock->advance(PickerView::kWheelRestMs);
    EXPECT_EQ(filters.picked, QList<int>({3, 3, 1, 1}));
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

#include "UiTestSupport.h"

#include "platform/ui/DatePicker.h"
#include "platform/ui/InputPanel.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/Toolbar.h"

#include <QKeyEvent>
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

// Options to choose from, any number of them.
class Options : public TableViewDataSource, public TableViewDelegate {
public:
    QList<int> chosen;
    int numberOfRowsInSection(TableView*, int) override { return 3; }
    TableViewCell* cellForRowAtIndexPath(TableView*, const IndexPath&) override { return new TableViewCell(); }
    void didSelectRowAtIndexPath(TableView*, const IndexPath& indexPath) override { chosen.append(indexPath.row); }
};

class PickerTest : public UiTest {
protected:
    // A key on the keyboard, which the target has.
    void press(QWidget* target, Qt::Key key)
    {
        ASSERT_EQ(QApplication::focusWidget(), target) << "keys go where the keyboard is";
        UserInput::key(key, Qt::NoModifier, QString(), window.get());
    }
};

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
    const auto turn = [&](int delta) { UserInput::wheel(window.get(), QPointF(160, 364), QPoint(0, delta)); };
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

TEST_F(PickerTest, PickersListsAndTheirPanelTakeTheKeyboard)
{
    // A date: Up and Down turn the column that has the keyboard, Left and
    // Right move to another; the keyboard goes to the columns.
    auto* birthday = new DatePicker();
    birthday->setDate(QDate(1990, 3, 14));
    int done = 0;
    int cancelled = 0;
    auto* panel = new InputPanel(birthday, [&done] { ++done; }, [&cancelled] { ++cancelled; });
    panel->open();
    Animator::shared().finishAll();
    EXPECT_EQ(panel->frame().y(), 0);
    EXPECT_EQ(birthday->frame(), QRectF(0, 480 - 216, 320, 216)) << "in the keyboard's room";
    PickerView* columns = birthday->pickerView();
    EXPECT_TRUE(columns->canBecomeFirstResponder());
    press(columns, Qt::Key_Down);
    EXPECT_EQ(birthday->date(), QDate(1990, 4, 14));
    press(columns, Qt::Key_Right);
    press(columns, Qt::Key_Up);
    EXPECT_EQ(birthday->date(), QDate(1990, 4, 13));
    press(columns, Qt::Key_Right);
    press(columns, Qt::Key_Right);
    press(columns, Qt::Key_Down);
    EXPECT_EQ(birthday->date(), QDate(1991, 4, 13)) << "the last column stays the keyboard's";
    EXPECT_EQ(columns->keyboardComponent(), 2);
    // Escape, a key the picker does not take, cancels the panel, once: the
    // done action does not run.
    press(columns, Qt::Key_Escape);
    EXPECT_EQ(done, 0);
    EXPECT_EQ(cancelled, 1);
    EXPECT_FALSE(panel->isOpen());
    panel->pressDone();
    panel->pressCancel();
    EXPECT_EQ(done, 0);
    EXPECT_EQ(cancelled, 1);
    Animator::shared().finishAll();
    turnEventLoop();

    // Return, which the picker does not take either, is Done.
    auto* anniversary = new DatePicker();
    auto* returnPanel = new InputPanel(anniversary, [&done] { ++done; }, [&cancelled] { ++cancelled; });
    returnPanel->open();
    Animator::shared().finishAll();
    press(anniversary->pickerView(), Qt::Key_Return);
    EXPECT_EQ(done, 1);
    EXPECT_EQ(cancelled, 1);
    EXPECT_FALSE(returnPanel->isOpen());
    Animator::shared().finishAll();
    turnEventLoop();

    // A list to choose from: the arrows move the selected row without
    // choosing, Space chooses it as a tap does.
    Options options;
    auto* list = new TableView(QRectF(0, 0, 320, 216));
    list->setDataSource(&options);
    list->setDelegate(&options);
    list->setKeyboardChoosesRows(true);
    list->reloadData();
    int listDone = 0;
    auto* listPanel = new InputPanel(list, [&listDone] { ++listDone; });
    listPanel->open();
    press(list, Qt::Key_Down);
    press(list, Qt::Key_Down);
    EXPECT_EQ(list->indexPathForSelectedRow(), (IndexPath{0, 1}));
    EXPECT_TRUE(options.chosen.isEmpty());
    press(list, Qt::Key_Space);
    press(list, Qt::Key_Down);
    press(list, Qt::Key_Down);
    press(list, Qt::Key_Space);
    EXPECT_EQ(options.chosen, QList<int>({1, 2}));
    // A tap on the shade above the panel closes it without Done.
    Animator::shared().finishAll();
    tap(QPointF(160, 100));
    EXPECT_FALSE(listPanel->isOpen());
    EXPECT_EQ(listDone, 0);
}

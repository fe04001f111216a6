#include "UiTestSupport.h"

#include "platform/ui/Button.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextField.h"

#include <QApplication>

// The wheel moves the rows and never the keyboard: a row's text being
// edited, or a header's button the keyboard reached, keeps the focus while
// the wheel takes it out of sight, and is there again, the same, when the
// wheel brings it back.
namespace {

// Grouped sections of rows that each hold a text, under headers that each
// hold a button; the texts typed are kept by row.
class TypedRows : public TableViewDataSource, public TableViewDelegate {
public:
    QHash<IndexPath, QString> typed;

    int numberOfSectionsInTableView(TableView*) override { return 3; }
    int numberOfRowsInSection(TableView*, int) override { return 12; }
    TableViewCell* cellForRowAtIndexPath(TableView* table, const IndexPath& path) override
    {
        auto* cell = table->dequeueReusableCellWithIdentifier(QStringLiteral("Text"));
        if (!cell) {
            cell = new TableViewCell(TableViewCellStyle::Default, QStringLiteral("Text"));
            auto* field = new TextField(QRectF(10, 10, 280, 24));
            cell->contentView()->addSubview(field);
        }
        auto* field = fieldOf(cell);
        field->removeTarget(nullptr, ControlEvent::EditingChanged);
        field->setText(typed.value(path));
        field->addAction([this, path, field](Control*) { typed[path] = field->text(); }, ControlEvent::EditingChanged);
        return cell;
    }
    std::optional<qreal> heightForHeaderInSection(TableView*, int) override { return 40; }
    View* viewForHeaderInSection(TableView*, int) override
    {
        auto* header = new View(QRectF(0, 0, 320, 40));
        header->addSubview(new Button(QRectF(10, 4, 120, 32), ButtonType::RoundedRect));
        return header;
    }
    static TextField* fieldOf(TableViewCell* cell) { return cell->contentView()->findChild<TextField*>(); }
};

class TableFocusTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        table = new TableView(QRectF(0, 20, 320, 460), TableViewStyle::Grouped);
        table->setDataSource(&rows);
        table->setDelegate(&rows);
        window->addSubview(table);
        table->reloadData();
    }
    void turnWheel(int notches)
    {
        for (int notch = 0; notch < std::abs(notches); ++notch)
            UserInput::wheel(window.get(), QPointF(160, 240), QPoint(0, notches > 0 ? -120 : 120));
    }
    bool inSight(const QRectF& rect) const { return table->bounds().intersects(rect); }

    TypedRows rows;
    TableView* table = nullptr;
};

}  // namespace

TEST_F(TableFocusTest, ARowsTextKeepsTheKeysWhileTheWheelTakesItAwayAndComesBackTheSame)
{
    const IndexPath path{0, 1};
    TableViewCell* cell = table->cellForRowAtIndexPath(path);
    ASSERT_NE(cell, nullptr);
    TextField* field = TypedRows::fieldOf(cell);
    UserInput::click(window.get(), field->convertRect(field->bounds(), nullptr).center());
    ASSERT_TRUE(field->isEditing());

    turnWheel(12);
    ASSERT_FALSE(inSight(table->rectForRowAtIndexPath(path)));
    EXPECT_TRUE(field->isEditing()) << "the wheel took the keys from the row";
    EXPECT_EQ(table->indexPathForCell(cell), path);
    for (TableViewCell* shown : table->visibleCells())
        EXPECT_NE(shown, cell) << "another row took the edited row's cell";
    UserInput::type(QStringLiteral("abc"));
    EXPECT_EQ(rows.typed.value(path), QStringLiteral("abc"));
    EXPECT_EQ(rows.typed.size(), 1) << "the keys went to one row only";

    turnWheel(-12);
    EXPECT_EQ(table->cellForRowAtIndexPath(path), cell);
    EXPECT_TRUE(field->isEditing());
    EXPECT_EQ(field->text(), QStringLiteral("abc"));

    // Once the keys have left it, the row's cell goes back to the queue as it scrolls away.
    field->resignFirstResponder();
    const int cells = table->cellCount();
    turnWheel(12);
    turnWheel(-12);
    EXPECT_EQ(table->cellCount(), cells) << "the cell kept for the focus is used again";
}

TEST_F(TableFocusTest, AHeadersButtonReachedByTabKeepsTheFocusAndItsMarkThroughTheWheel)
{
    UserInput::key(Qt::Key_Tab);
    auto* button = qobject_cast<Button*>(QApplication::focusWidget());
    ASSERT_NE(button, nullptr) << "the first Tab reaches the first header's button";
    ASSERT_TRUE(button->showsFocusMark());

    turnWheel(10);
    ASSERT_FALSE(inSight(table->rectForHeaderInSection(0)));
    EXPECT_EQ(QApplication::focusWidget(), button);
    turnWheel(-10);
    EXPECT_EQ(QApplication::focusWidget(), button);
    EXPECT_TRUE(button->showsFocusMark());
    EXPECT_FALSE(button->isHidden());
}

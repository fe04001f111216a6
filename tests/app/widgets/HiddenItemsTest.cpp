#include "platform/ui/UiTestSupport.h"

#include "app/widgets/SegmentControlHidding.h"
#include "app/widgets/SizeToFitFixedWidth.h"
#include "app/widgets/TabBarHidding.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

namespace {

class Taps : public TabBarDelegate {
public:
    QList<int> initialIndexes;
    TabBarHidding* bar = nullptr;
    void didSelectItem(TabBar*, const TabBarItemPtr& item) override
    {
        initialIndexes.append(bar->initialIndexOfItem(item));
    }
};

QStringList titles(const TabBar& bar)
{
    QStringList out;
    for (const TabBarItemPtr& item : bar.items())
        out.append(item->title());
    return out;
}

QStringList titles(const SegmentedControl& control)
{
    QStringList out;
    for (int i = 0; i < control.numberOfSegments(); ++i)
        out.append(control.titleForSegmentAtIndex(i));
    return out;
}

class HiddenItemsTest : public UiTest {};

}  // namespace

TEST_F(HiddenItemsTest, TabBarItemsAreAddressedByTheirPlaceInTheFullList)
{
    auto* bar = new TabBarHidding(QRectF(0, 431, 320, 49));
    QList<TabBarItemPtr> items;
    for (const char* t : {"A", "B", "C", "D"})
        items.append(std::make_shared<TabBarItem>(QString::fromLatin1(t), QImage(), 0));
    bar->setItems(items);
    bar->awakeFromNib();
    window->addSubview(bar);

    bar->hideButtonAtIndex(1);
    EXPECT_EQ(titles(*bar), QStringList({QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("D")}));
    bar->hideButtonAtIndex(1);
    EXPECT_EQ(bar->items().size(), 3);
    bar->hideButton(items[3]);
    EXPECT_EQ(titles(*bar), QStringList({QStringLiteral("A"), QStringLiteral("C")}));

    // The user taps the second shown item: its place in the full list is 2.
    Taps taps;
    taps.bar = bar;
    bar->setDelegate(&taps);
    tap(bar->convertRect(bar->rectForItemAtIndex(1), nullptr).center());
    EXPECT_EQ(taps.initialIndexes, QList<int>({2}));

    bar->showButtonAtIndex(1);
    bar->showButton(items[3]);
    EXPECT_EQ(titles(*bar), QStringList({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                         QStringLiteral("D")}));
    for (int i = 0; i < 4; ++i)
        bar->hideButtonAtIndex(i);
    EXPECT_TRUE(bar->items().isEmpty());
}

TEST_F(HiddenItemsTest, SegmentSelectionIsReportedAsAPlaceInTheFullList)
{
    SegmentControlHidding control({QStringLiteral("P"), QStringLiteral("Q"), QStringLiteral("R")});
    control.awakeFromNib();
    int changes = 0;
    control.addAction([&changes](Control*) { ++changes; }, ControlEvent::ValueChanged);
    control.hideButtonAtIndex(0);
    EXPECT_EQ(titles(control), QStringList({QStringLiteral("Q"), QStringLiteral("R")}));
    EXPECT_EQ(control.selectedSegmentIndex(), -1) << "no segment is selected after a redraw";
    control.setSelectedSegmentIndex(0);
    EXPECT_EQ(changes, 0) << "setting the selection in code sends nothing";
    EXPECT_EQ(control.selectedSegmentIndex(), 1);
    control.tapSegment(1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(control.selectedSegmentIndex(), 2);

    control.setEnabledForSegmentAtIndex(false, 0);
    control.tapSegment(0);
    EXPECT_EQ(changes, 1) << "a disabled segment cannot be chosen";

    control.setInitialItems({QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z"), QStringLiteral("W")});
    EXPECT_EQ(titles(control), QStringList({QStringLiteral("Y"), QStringLiteral("Z"), QStringLiteral("W")}));
    control.hideButton(QStringLiteral("Y"));
    control.hideButton(QStringLiteral("Z"));
    control.hideButton(QStringLiteral("W"));
    EXPECT_EQ(control.numberOfSegments(), 0);
    EXPECT_EQ(control.selectedSegmentIndex(), -1);
}

TEST_F(HiddenItemsTest, LabelSizedAtAFixedWidthGrowsWithItsLines)
{
    Label label(QRectF(12, 8, 50, 20));
    label.setFont(Font::fontWithName(QStringLiteral("Helvetica"), 13));
    label.setText(QStringLiteral("short"));
    sizeToFitFixedWidth(&label, 200);
    EXPECT_EQ(label.frame().topLeft(), QPointF(12, 8));
    EXPECT_EQ(label.frame().width(), 200);
    const qreal one = label.frame().height();
    EXPECT_GT(one, 0);
    label.setText(QStringLiteral("a longer text that needs several lines at two hundred points of width, "
                                 "so the label grows downwards as the words wrap"));
    sizeToFitCurrentWidth(&label);
    EXPECT_EQ(label.frame().width(), 200);
    EXPECT_GE(label.frame().height(), 3 * one - 1);
    EXPECT_EQ(label.numberOfLines(), 0);
    label.setText(QString());
    sizeToFitFixedWidth(&label, 200);
    EXPECT_EQ(label.frame().height(), 0);
}

#include "UiTestSupport.h"

#include "platform/ui/BarButtonView.h"
#include "platform/ui/SearchBar.h"

#include <QLineEdit>

namespace {

class Listener : public SearchBarDelegate {
public:
    QStringList log;
    void searchBarSearchButtonClicked(SearchBar* bar) override { log.append(QStringLiteral("search:") + bar->text()); }
    void searchBarCancelButtonClicked(SearchBar*) override { log.append(QStringLiteral("cancel")); }
    void textDidChange(SearchBar*, const QString& text) override { log.append(QStringLiteral("text:") + text); }
    void searchBarTextDidBeginEditing(SearchBar*) override { log.append(QStringLiteral("begin")); }
    void searchBarTextDidEndEditing(SearchBar*) override { log.append(QStringLiteral("end")); }
};

class SearchBarTest : public UiTest {
protected:
    // A key on the field, which has the keyboard.
    void press(QWidget* target, Qt::Key key)
    {
        ASSERT_TRUE(target->hasFocus());
        UserInput::key(key, Qt::NoModifier, QString(), window.get());
    }
};

}  // namespace

TEST_F(SearchBarTest, ReturnSearchesEscapeCancelsAndTheFieldMakesRoomForTheButton)
{
    Listener listener;
    auto* bar = new SearchBar(QRectF(0, 0, 320, SearchBar::kHeight));
    bar->setDelegate(&listener);
    window->addSubview(bar);
    auto* edit = bar->textField()->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);

    EXPECT_TRUE(bar->becomeFirstResponder());
    EXPECT_TRUE(bar->isFirstResponder());
    bar->setText(QStringLiteral("harbour"));
    press(edit, Qt::Key_Return);
    EXPECT_EQ(listener.log, QStringList({QStringLiteral("begin"), QStringLiteral("text:harbour"),
                                         QStringLiteral("search:harbour")}));

    // Without a cancel button Escape ends the editing; with one it cancels.
    const QRectF whole = bar->fieldRect();
    EXPECT_EQ(whole.width(), 320 - 12);
    listener.log.clear();
    press(edit, Qt::Key_Escape);
    EXPECT_FALSE(bar->isFirstResponder());
    EXPECT_EQ(listener.log, QStringList({QStringLiteral("end")}));
    bar->setShowsCancelButton(true);
    ASSERT_NE(bar->cancelButton(), nullptr);
    EXPECT_EQ(bar->cancelButton()->shownTitle(), QStringLiteral("Cancel"));
    // The field ends before the button, whose tap cancels.
    EXPECT_LT(bar->fieldRect().right(), bar->cancelButton()->frame().left());
    EXPECT_TRUE(bar->fieldRect().contains(bar->textField()->frame()));
    listener.log.clear();

    tap(bar->cancelButton()->frame().center());
    EXPECT_EQ(listener.log, QStringList({QStringLiteral("cancel")}));
    bar->becomeFirstResponder();
    listener.log.clear();
    press(edit, Qt::Key_Escape);
    EXPECT_EQ(listener.log, QStringList({QStringLiteral("cancel")}));
    bar->setShowsCancelButton(false);
    turnEventLoop();
    EXPECT_EQ(bar->cancelButton(), nullptr);
    EXPECT_EQ(bar->fieldRect(), whole);
}

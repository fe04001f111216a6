#include "UiTestSupport.h"

#include "platform/ui/Keyboard.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

namespace {

class Watcher : public KeyboardObserver, public TextFieldDelegate {
public:
    QStringList log;
    QRectF lastFrame;
    bool allowBegin = true;
    void keyboardWillShow(const KeyboardInfo& info) override
    {
        log.append(QStringLiteral("willShow"));
        lastFrame = info.frameEnd;
    }
    void keyboardWillHide(const KeyboardInfo& info) override
    {
        log.append(QStringLiteral("willHide"));
        lastFrame = info.frameEnd;
    }
    bool textFieldShouldBeginEditing(TextField*) override
    {
        log.append(QStringLiteral("shouldBegin"));
        return allowBegin;
    }
    void textFieldDidBeginEditing(TextField*) override { log.append(QStringLiteral("didBegin")); }
    void textFieldDidEndEditing(TextField*) override { log.append(QStringLiteral("didEnd")); }
    bool textFieldShouldReturn(TextField*) override
    {
        log.append(QStringLiteral("return"));
        return true;
    }
};

class KeyboardTest : public UiTest {};

}  // namespace

TEST_F(KeyboardTest, FocusOnTextInputShowsA216PointKeyboardAtTheBottom)
{
    Watcher watcher;
    Keyboard::addObserver(&watcher);
    auto* field = new TextField(QRectF(25, 30, 270, 25));
    field->setDelegate(&watcher);
    window->addSubview(field);

    watcher.allowBegin = false;
    EXPECT_FALSE(field->becomeFirstResponder());
    EXPECT_EQ(watcher.log, QStringList({QStringLiteral("shouldBegin")}));
    EXPECT_FALSE(Keyboard::isShown());

    watcher.allowBegin = true;
    watcher.log.clear();
    EXPECT_TRUE(field->becomeFirstResponder());
    EXPECT_TRUE(field->isFirstResponder());
    EXPECT_TRUE(watcher.log.contains(QStringLiteral("willShow")));
    EXPECT_TRUE(watcher.log.contains(QStringLiteral("didBegin")));
    EXPECT_EQ(watcher.lastFrame, QRectF(0, 480 - 216, 320, 216));

    field->pressReturn();
    EXPECT_TRUE(watcher.log.contains(QStringLiteral("return")));
    watcher.log.clear();
    field->resignFirstResponder();
    EXPECT_TRUE(watcher.log.contains(QStringLiteral("willHide")));
    EXPECT_TRUE(watcher.log.contains(QStringLiteral("didEnd")));
    EXPECT_EQ(watcher.lastFrame, QRectF(0, 480, 320, 216));
    EXPECT_FALSE(Keyboard::isShown());
    Keyboard::removeObserver(&watcher);
}

TEST_F(KeyboardTest, TextViewSelectionCountsUtf16Units)
{
    auto* view = new TextView(QRectF(0, 20, 320, 200));
    window->addSubview(view);
    // An emoji takes two UTF-16 units, as the platform counts.
    view->setText(QStringLiteral("a\U0001F600b[quote]"));
    view->setSelectedRange(TextRange{3, 0});
    EXPECT_EQ(view->selectedRange(), (TextRange{3, 0}));
    view->setSelectedRange(TextRange{4, 7});
    EXPECT_EQ(view->selectedRange(), (TextRange{4, 7}));
    EXPECT_EQ(view->text().mid(4, 7), QStringLiteral("[quote]"));
    view->setSelectedRange(TextRange{100, 5});
    EXPECT_EQ(view->selectedRange(), (TextRange{11, 0})) << "a range past the end is cut to the text";
}

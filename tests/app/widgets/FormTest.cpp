#include "platform/ui/UiTestSupport.h"

#include "app/model/FieldCheckbox.h"
#include "app/model/FieldDate.h"
#include "app/model/FieldLink.h"
#include "app/model/FieldMultiPicker.h"
#include "app/model/FieldPassword.h"
#include "app/model/FieldPicker.h"
#include "app/model/FieldText.h"
#include "app/widgets/FieldCheckboxCell.h"
#include "app/widgets/FieldDateCell.h"
#include "app/widgets/FieldMultiPickerCell.h"
#include "app/widgets/FieldPickerCell.h"
#include "app/widgets/FieldTextCell.h"
#include "app/widgets/Form.h"
#include "app/widgets/RegistrationForm.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"

#include "platform/foundation/Bundle.h"

#include <QKeyEvent>
#include <QLineEdit>

using namespace Qt::Literals::StringLiterals;

// The form framework in a phone window: sections and values, moving from
// field to field, the keyboard's room, the panels of choices and dates, and
// the page of a link.
namespace {

std::shared_ptr<FieldText> text(const QString& label, const QString& description, const QString& name)
{
    return std::make_shared<FieldText>(label, description, name);
}

QList<FieldOptionPtr> options(const QStringList& texts)
{
    QList<FieldOptionPtr> list;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        auto option = std::make_shared<FieldOption>();
        option->setKey(QString::number(i + 1));
        option->setVal(texts.at(i));
        list.append(option);
    }
    return list;
}

class Watcher : public FieldDateObserver {
public:
    int told = 0;
    void onDateOfBirthChange() override { ++told; }
};

class FormTest : public UiTest {
protected:
    Form* addForm(qreal height = 416)
    {
        auto* form = new Form(QRectF(0, 64, 320, height));
        window->addSubview(form);
        return form;
    }
    template <typename Cell>
    Cell* cellOf(Form* form, const FieldPtr& field)
    {
        return dynamic_cast<Cell*>(form->cellForField(field.get()));
    }
    // A key on the keyboard, which the target has.
    void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        ASSERT_EQ(QApplication::focusWidget(), target) << "keys go where the keyboard is";
        UserInput::key(key, modifiers, QString(), window.get());
    }
    static void settle()
    {
        Animator::shared().finishAll();
        turnEventLoop();
    }
};

}  // namespace

TEST_F(FormTest, SectionsHeadersAndValuesFollowTheFields)
{
    Form* form = addForm();
    const auto a = text(u"First"_s, u"A"_s, u"first"_s);
    const auto b = text(u"Second"_s, QString(), u"second"_s);
    const auto agree = std::make_shared<FieldCheckbox>(u"Agree"_s, QString(), u"agree"_s);
    const auto season = std::make_shared<FieldPicker>(u"Season"_s, u"B"_s, u"season"_s);
    season->setOptions(options({u"Spring"_s, u"Summer"_s}));
    const auto quiet = std::make_shared<FieldLink>(u"Rules"_s, u""_s, u"rules"_s);
    const auto again = text(u"Again"_s, QString(), u"first"_s);
    form->setFields({a, b, agree, season, quiet, again});

    // A description opens a section headed by it; an empty one has no header.
    ASSERT_EQ(form->table()->numberOfSections(), 3);
    EXPECT_EQ(form->table()->numberOfRowsInSection(0), 3);
    EXPECT_EQ(form->table()->numberOfRowsInSection(1), 1);
    EXPECT_EQ(form->table()->numberOfRowsInSection(2), 2);
    auto* header = dynamic_cast<Label*>(form->viewForHeaderInSection(form->table(), 1));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->text(), u"    B"_s);
    EXPECT_EQ(header->frame(), QRectF(0, 0, 300, 30));
    delete header;
    EXPECT_EQ(form->heightForHeaderInSection(form->table(), 0), 30.0);
    EXPECT_EQ(form->heightForHeaderInSection(form->table(), 2), 0.0);
    EXPECT_EQ(season->section(), 1u);
    EXPECT_EQ(a->next(), b.get());

    // Values: an unticked box is false, an untouched choice and a link send
    // nothing, a text is empty once shown, a later field of a name wins.
    form->cellForField(a.get());
    form->cellForField(again.get());
    ValueDict values = form->values();
    EXPECT_EQ(values.value(u"agree"_s), Value(false));
    EXPECT_FALSE(values.contains(u"season"_s));
    EXPECT_FALSE(values.contains(u"rules"_s));
    EXPECT_EQ(values.value(u"first"_s), Value(u""_s));
    again->setValue(u"later"_s);
    a->setValue(u"earlier"_s);
    EXPECT_EQ(form->values().value(u"first"_s), Value(u"later"_s));
    auto* box = cellOf<FieldCheckboxCell>(form, agree);
    ASSERT_NE(box, nullptr);
    tap(box->checkbox()->convertRect(box->checkbox()->bounds(), nullptr).center());
    EXPECT_TRUE(box->checkbox()->isSelected());
    EXPECT_EQ(form->values().value(u"agree"_s), Value(true));

    // An unknown name changes nothing.
    form->removeFieldWithName(u"nobody"_s);
    EXPECT_EQ(form->fields().size(), 6);
}

TEST_F(FormTest, RemovingAFieldRenumbersTheSectionsAfterItAndReturnStillFindsTheNextField)
{
    Form* form = addForm();
    const auto name = text(u"Name"_s, u"You"_s, u"name"_s);
    const auto mood = std::make_shared<FieldPicker>(u"Mood"_s, u"Today"_s, u"mood"_s);
    const auto email = text(u"Email Address"_s, u"Where we write"_s, u"email"_s);
    const auto password = std::make_shared<FieldPassword>(u"Password"_s, QString(), u"password"_s);
    form->setFields({name, mood, email, password});
    form->removeFieldWithName(u"mood"_s);

    // The emptied section went: the fields after it are numbered anew.
    ASSERT_EQ(form->table()->numberOfSections(), 2);
    EXPECT_EQ(email->section(), 1u);
    EXPECT_EQ(password->section(), 1u);
    EXPECT_EQ(name->next(), email.get());
    EXPECT_EQ(form->indexPathForField(password.get()), (IndexPath{1, 1}));

    // Return moves on field by field; the keyboard and the return key say where.
    auto* first = cellOf<FieldTextCell>(form, name);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->field()->returnKeyType(), ReturnKeyType::Next);
    first->takeFocus();
    first->field()->pressReturn();
    auto* second = cellOf<FieldTextCell>(form, email);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->field()->isEditing());
    EXPECT_FALSE(first->field()->isEditing());
    EXPECT_EQ(second->field()->keyboardType(), KeyboardType::EmailAddress);
    second->field()->pressReturn();
    auto* last = cellOf<FieldTextCell>(form, password);
    ASSERT_NE(last, nullptr);
    EXPECT_TRUE(last->field()->isEditing());
    EXPECT_TRUE(last->field()->isSecureTextEntry());
    EXPECT_EQ(last->field()->returnKeyType(), ReturnKeyType::Done);
    last->field()->pressReturn();
    EXPECT_FALSE(last->field()->isEditing());
    EXPECT_EQ(FieldCell::firstResponder(), nullptr);

    // Shift+Tab goes back a field, Tab on again.
    last->takeFocus();
    press(last->field()->findChild<QLineEdit*>(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(second->field()->isEditing());
    EXPECT_EQ(FieldCell::firstResponder(), second->field());
    press(second->field()->findChild<QLineEdit*>(), Qt::Key_Tab);
    EXPECT_TRUE(last->field()->isEditing());
}

TEST_F(FormTest, TheKeyboardsRoomIsKeptOnceAndGivenBack)
{
    Form* form = addForm();
    const auto one = text(u"One"_s, QString(), u"one"_s);
    const auto two = text(u"Two"_s, QString(), u"two"_s);
    form->setFields({one, two});
    auto* first = cellOf<FieldTextCell>(form, one);
    auto* second = cellOf<FieldTextCell>(form, two);
    ASSERT_TRUE(first && second);

    // Two edits begun without an end between them keep the same room.
    first->focus();
    second->focus();
    settle();
    EXPECT_EQ(Form::keyboardRoom(), Keyboard::frame().height() > 0 ? Keyboard::frame().height() + 4 : 0);
    EXPECT_EQ(form->table()->frame(), QRectF(0, 0, 320, 416 - Form::keyboardRoom()));
    EXPECT_EQ(first->frame().y(), form->table()->rectForRowAtIndexPath(IndexPath{0, 0}).y())
        << "a row in view stays under the pointer";
    second->unfocus();
    settle();
    EXPECT_EQ(form->table()->frame(), QRectF(0, 0, 320, 416));

    // A form lower than the room keeps no negative height.
    Form* small = addForm(150);
    const auto three = text(u"Three"_s, QString(), u"three"_s);
    small->setFields({three});
    cellOf<FieldTextCell>(small, three)->focus();
    settle();
    EXPECT_EQ(small->table()->frame().height(), qMax<qreal>(0, 150 - Form::keyboardRoom()));
}

TEST_F(FormTest, ChoicesOnTheirPanelsStayInRangeAndAreMadeOnce)
{
    Form* form = addForm();
    const auto empty = std::make_shared<FieldPicker>(u"Nothing"_s, QString(), u"nothing"_s);
    const auto season = std::make_shared<FieldPicker>(u"Season"_s, QString(), u"season"_s);
    season->setOptions(options({u"Spring"_s, u"Summer"_s, u"Autumn"_s}));
    const auto languages = std::make_shared<FieldMultiPicker>(u"Languages"_s, QString(), u"languages"_s);
    languages->setOptions(options({u"English"_s, u"Japanese"_s}));
    languages->addSelectedOption(languages->options().at(1));
    languages->addSelectedOption(languages->options().at(1));
    form->setFields({empty, season, languages});

    // A picker without options leaves its field as it was.
    auto* nothing = cellOf<FieldPickerCell>(form, empty);
    ASSERT_NE(nothing, nullptr);
    tap(nothing->field()->convertRect(nothing->field()->bounds(), nullptr).center());
    ASSERT_NE(nothing->modalView(), nullptr);
    EXPECT_EQ(nothing->picker()->selectedRowInComponent(0), -1);
    nothing->modalView()->pressDone();
    settle();
    EXPECT_EQ(empty->selected(), nullptr);
    EXPECT_EQ(nothing->field()->currentTitle(), u"Nothing"_s);

    // A choice by the keyboard: Down, then Return.
    auto* seasons = cellOf<FieldPickerCell>(form, season);
    seasons->changeValue();
    press(seasons->picker(), Qt::Key_Down);
    press(seasons->picker(), Qt::Key_Down);
    press(seasons->picker(), Qt::Key_Return);
    settle();
    EXPECT_EQ(seasons->modalView(), nullptr);
    ASSERT_NE(season->selected(), nullptr);
    EXPECT_EQ(season->selected()->val(), u"Autumn"_s);
    EXPECT_EQ(form->values().value(u"season"_s), Value(u"3"_s));

    // Any number of choices, each once: a tap chooses, a second lets it go.
    EXPECT_EQ(form->values().value(u"languages"_s).size(), 1);
    auto* multi = cellOf<FieldMultiPickerCell>(form, languages);
    multi->changeValue();
    settle();
    TableView* list = multi->pickerTable();
    const auto tapRow = [&](int row) {
        tap(list->convertRect(list->rectForRowAtIndexPath(IndexPath{0, row}), nullptr).center());
    };
    tapRow(0);
    tapRow(1);
    EXPECT_EQ(languages->selectedOptions().size(), 1);
    tapRow(1);
    press(list, Qt::Key_Return);
    settle();
    const Value chosen = form->values().value(u"languages"_s);
    ASSERT_EQ(chosen.size(), 2);
    EXPECT_EQ(chosen.at(0), Value(u"1"_s));
    EXPECT_EQ(chosen.at(1), Value(u"2"_s));
    EXPECT_EQ(multi->field()->currentTitle(), u"English, Japanese"_s);

    // Choices taken back on the panel and left with Escape stay as they were.
    multi->changeValue();
    settle();
    list = multi->pickerTable();
    tapRow(0);
    tapRow(1);
    press(list, Qt::Key_Escape);
    settle();
    EXPECT_EQ(form->values().value(u"languages"_s), chosen);
    EXPECT_EQ(multi->field()->currentTitle(), u"English, Japanese"_s);
}

TEST_F(FormTest, ADateTellsItsObserversOnceAndForgetsThoseThatWent)
{
    Form* form = addForm();
    auto watcher = std::make_unique<Watcher>();
    Watcher other;
    const auto born = std::make_shared<FieldDate>(u"Date of Birth"_s, u"date_of_birth"_s, watcher.get());
    born->addObserver(&other);
    born->addObserver(&other);
    form->setFields({born});
    EXPECT_FALSE(form->values().contains(u"date_of_birth"_s));

    auto* row = cellOf<FieldDateCell>(form, born);
    ASSERT_NE(row, nullptr);
    row->changeDate();
    ASSERT_NE(row->picker(), nullptr);
    EXPECT_EQ(row->picker()->maximumDate(), Clock::current().now().toLocalTime().date()) << "no future dates";
    row->picker()->setDate(QDate(1990, 3, 14));
    row->modalView()->pressDone();
    settle();
    EXPECT_EQ(watcher->told, 1);
    EXPECT_EQ(other.told, 1);
    EXPECT_EQ(form->values().value(u"date_of_birth"_s).date().date(), QDate(1990, 3, 14));
    EXPECT_EQ(row->field()->currentTitle(), u"March 14, 1990"_s);

    // An observer that went is not told; one that removed itself neither.
    watcher.reset();
    born->removeObserver(&other);
    born->setDate(QDate(1991, 1, 1));
    EXPECT_EQ(other.told, 1);
}

TEST_F(FormTest, TheSignUpFormsOwnPictureFieldStandsApartFromItsFields)
{
    // The sign-up form's own picture field stands apart from its fields.
    RegistrationForm registration(QRectF(0, 0, 320, 416));
    EXPECT_EQ(registration.photo()->name(), u"Photo"_s);
    EXPECT_EQ(registration.photo()->description(), u"Photo"_s);
    EXPECT_TRUE(registration.fields().isEmpty());
    EXPECT_EQ(registration.backgroundColor(), QColor(Qt::white));
}

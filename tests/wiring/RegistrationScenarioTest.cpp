#include "AppScenario.h"
#include "NamedView.h"
#include "ImagePickerStub.h"
#include "ShownPixels.h"
#include "UserInput.h"

#include "app/model/FieldDate.h"
#include "app/model/FieldMultiPicker.h"
#include "app/model/FieldMultiText.h"
#include "app/model/FieldPicker.h"
#include "app/model/FieldText.h"
#include "app/screens/FieldLinkDetails.h"
#include "app/screens/RegistrationController.h"
#include "app/widgets/FieldCheckboxCell.h"
#include "app/widgets/FieldDateCell.h"
#include "app/widgets/FieldLinkCell.h"
#include "app/widgets/FieldMultiPickerCell.h"
#include "app/widgets/FieldMultiTextCell.h"
#include "app/widgets/FieldPickerCell.h"
#include "app/widgets/FieldTextCell.h"
#include "app/widgets/FieldUploadPhotoCell.h"
#include "app/widgets/GradientButton.h"
#include "app/widgets/RegistrationForm.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/BarButtonView.h"
#include "platform/ui/Button.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/InputPanel.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Toolbar.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/StringExtensions.h"

#include <QApplication>
#include <QKeyEvent>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>

using namespace Qt::Literals::StringLiterals;

// Signing up through the real screens on the loopback forum: the form filled
// field by field, refused and mended until the forum takes it and the new
// member is at home; a forum that checks the date of birth first and asks a
// child for a parent's address; a sign-up the forum holds for a moderator.
namespace {

QString text(const char* key)
{
    return Bundle::main().localizedString(QString::fromLatin1(key));
}

class RegistrationScenarioTest : public AppScenario {
protected:
    // The sign-up screen, from the login screen's button, once its form is there.
    RegistrationController* openFromLogin()
    {
        LoginController* login = launchToLogin();
        EXPECT_NE(login, nullptr);
        if (!login)
            return nullptr;
        EXPECT_FALSE(login->registerButton()->isHidden());
        tap(login->registerButton());
        return signUpScreen();
    }
    RegistrationController* signUpScreen()
    {
        finishAnimations();
        auto* screen = topScreenAs<RegistrationController>();
        EXPECT_NE(screen, nullptr);
        if (screen) {
            EXPECT_TRUE(waitUntil([&] { return screen->form() && !screen->form()->fields().isEmpty(); }));
        }
        settleAndFinish();
        return screen;
    }

    RegistrationForm* form() const
    {
        auto* screen = topScreenAs<RegistrationController>();
        return screen ? screen->form() : nullptr;
    }
    template <typename Cell>
    Cell* cell(const QString& name)
    {
        RegistrationForm* f = form();
        if (!f)
            return nullptr;
        const FieldPtr field = f->fieldWithName(name);
        EXPECT_NE(field, nullptr) << qPrintable(name);
        finishAnimations();
        return field ? dynamic_cast<Cell*>(f->cellForField(field.get())) : nullptr;
    }
    template <typename F>
    std::shared_ptr<F> field(const QString& name)
    {
        return form() ? std::dynamic_pointer_cast<F>(form()->fieldWithName(name)) : nullptr;
    }
    QString valueOf(const QString& name) { return form()->values().value(name).toString(); }

    // Clicks the field and types, as the user does (what was there stays).
    void typeInto(const QString& name, const QString& typed)
    {
        auto* row = cell<FieldTextCell>(name);
        ASSERT_NE(row, nullptr) << qPrintable(name);
        tap(row->field());
        type(row->field(), typed);
    }
    void retype(const QString& name, const QString& typed)
    {
        auto* row = cell<FieldTextCell>(name);
        ASSERT_NE(row, nullptr) << qPrintable(name);
        row->field()->setText(QString());
        typeInto(name, typed);
    }
    // The panel on screen, and its Done button.
    static InputPanel* panel()
    {
        for (View* view : Window::keyWindow()->subviews()) {
            if (auto* open = qobject_cast<InputPanel*>(view); open && open->isOpen())
                return open;
        }
        return nullptr;
    }
    void tapDone()
    {
        InputPanel* open = panel();
        ASSERT_NE(open, nullptr);
        tap(open->toolbar()->viewForItem(open->toolbar()->items().last().get()));
        finishAnimations();
        EXPECT_EQ(panel(), nullptr);
    }
    void chooseDate(const QDate& date, const QString& pictureName = QString())
    {
        auto* row = cell<FieldDateCell>(u"date_of_birth"_s);
        ASSERT_NE(row, nullptr);
        tap(row->field());
        ASSERT_NE(row->picker(), nullptr);
        EXPECT_EQ(row->picker()->maximumDate(), Clock::current().now().toLocalTime().date());
        row->picker()->setDate(date);
        if (!pictureName.isEmpty())
            picture(pictureName);
        tapDone();
    }
    void tapSubmit()
    {
        finishAnimations();
        BarButtonView* submit = delegate()->controller()->navigationBar()->rightButtonView();
        ASSERT_NE(submit, nullptr);
        tap(submit);
        settleAndFinish();
    }
    // The alert on top: its title and message, then dismissed with its button.
    std::pair<QString, QString> takeAlert()
    {
        const auto alerts = alertsOnScreen();
        EXPECT_FALSE(alerts.isEmpty());
        if (alerts.isEmpty())
            return {};
        const std::pair<QString, QString> said{alerts.last()->title(), alerts.last()->message()};
        tapAlertButton(0);
        finishAnimations();
        return said;
    }
    int signUps() { return int(forum().requests(u"register_addmember"_s).size()); }
    int dateChecks() { return int(forum().requests(u"register_checkdate"_s).size()); }

    // The row's panel opened by a click on the row.
    template <typename Cell>
    Cell* openPanel(const QString& name)
    {
        auto* row = cell<Cell>(name);
        EXPECT_NE(row, nullptr) << qPrintable(name);
        if (!row)
            return nullptr;
        tap(row->field());
        finishAnimations();
        EXPECT_NE(panel(), nullptr) << qPrintable(name);
        return row;
    }
    // A click on the shade above an open panel.
    void tapShade()
    {
        ASSERT_NE(panel(), nullptr);
        tapAt(QPointF(160, 100));
        finishAnimations();
        EXPECT_EQ(panel(), nullptr);
    }
    void pressEscape()
    {
        key(Qt::Key_Escape);
        finishAnimations();
    }
    // The date row: titled with its label while no date is set.
    QString dateTitle() { return cell<FieldDateCell>(u"date_of_birth"_s)->field()->currentTitle(); }
    QWidget* focused() const { return QApplication::focusWidget(); }
    AlertOverlay* alertOnTop() const
    {
        const auto alerts = alertsOnScreen();
        return alerts.isEmpty() ? nullptr : qobject_cast<AlertOverlay*>(AlertPresenter::viewFor(alerts.last().get()));
    }

    // A picture from the machine's library for the form's picture row.
    void choosePhoto(ImagePickerStub& machine, const QColor& colour)
    {
        auto* row = cell<FieldUploadPhotoCell>(u"Photo"_s);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->label()->text(), text("add_your_photo"));
        tap(row->button());
        finishAnimations();
        ASSERT_TRUE(machine.isAsking());
        const QString path = files.filePath(u"me.png"_s);
        ASSERT_TRUE(ImagePickerStub::writePicture(path, QSize(400, 300), colour));
        machine.choose(path);
        finishAnimations();
        row = cell<FieldUploadPhotoCell>(u"Photo"_s);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->label()->text(), text("change_your_photo"));
        EXPECT_FALSE(row->img()->image().isNull());
    }
    QTemporaryDir files;

    // The wheel turned over the form, a notch at a time: down the form for
    // positive notches.
    void turnWheel(int notches)
    {
        TableView* table = form()->table();
        const QPointF over = table->convertRect(table->bounds(), nullptr).center();
        for (int notch = 0; notch < std::abs(notches); ++notch) {
            UserInput::wheel(Window::keyWindow(), over, QPoint(0, notches > 0 ? -120 : 120));
            finishAnimations();
        }
    }
    // Where the keyboard is: the name of the field whose row has it (its
    // text edited or its button focused), a button of the bar, or neither.
    QString keyboardOn() const
    {
        QWidget* now = focused();
        NavigationBar* bar = delegate()->controller()->navigationBar();
        if (now && now == bar->backButtonView())
            return u"the back button"_s;
        if (now && now == bar->rightButtonView())
            return u"the submit button"_s;
        for (QWidget* w = now; w; w = w->parentWidget()) {
            if (auto* row = qobject_cast<FieldCell*>(w))
                return row->callback() ? row->callback()->name() : u"an empty row"_s;
        }
        return now ? u"elsewhere"_s : u"nothing"_s;
    }
    // The window as the member sees it, and a part of it in window points.
    static QImage shownPart(const QRectF& area)
    {
        Window* window = Window::keyWindow();
        ShownPixels::drawFrame(window);
        const QImage shown = ShownPixels::shown(window);
        const qreal zoom = shown.width() / Window::kWidth;
        const QRect pixels(QPointF(area.topLeft() * zoom).toPoint(), QPointF(area.bottomRight() * zoom).toPoint());
        return shown.copy(pixels & shown.rect());
    }
    // Pixels of the focus mark's blue on the view.
    static int focusMarkPixels(View* view)
    {
        const QImage part = shownPart(view->convertRect(view->bounds(), nullptr));
        int marked = 0;
        for (int y = 0; y < part.height(); ++y) {
            for (int x = 0; x < part.width(); ++x) {
                const QColor c = part.pixelColor(x, y);
                marked += qAbs(c.red() - 72) < 40 && qAbs(c.green() - 150) < 40 && c.blue() > 215;
            }
        }
        return marked;
    }
    void tapBack()
    {
        finishAnimations();
        BarButtonView* back = delegate()->controller()->navigationBar()->backButtonView();
        ASSERT_NE(back, nullptr);
        tap(back);
        finishAnimations();
    }

    // Everything a member fills in on the forum that asks no date check.
    void fillTheForm(const QString& username, const QString& password)
    {
        typeInto(u"username"_s, username);
        typeInto(u"password"_s, password);
        typeInto(u"passwordconfirm"_s, password);
        typeInto(u"email"_s, username + u"@example.net"_s);
        typeInto(u"userfield[field2]"_s, u"Lisbon"_s);
        auto* agreement = cell<FieldCheckboxCell>(u"forum_rules_agreement"_s);
        ASSERT_NE(agreement, nullptr);
        tap(agreement->checkbox());
    }
};

}  // namespace

TEST_F(RegistrationScenarioTest, TheFormIsFilledRefusedMendedAndAcceptedAndTheNewMemberIsAtHome)
{
    RegistrationController* screen = openFromLogin();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screens().size(), 2);
    // Every field the forum asks for, in the order it gives them, the date
    // among them (no date check here).
    QStringList names;
    for (const FieldPtr& f : form()->fields())
        names.append(f->name());
    EXPECT_EQ(names, (QStringList{u"username"_s, u"password"_s, u"passwordconfirm"_s, u"email"_s,
                                  u"date_of_birth"_s, u"userfield[field7]"_s, u"userfield[field8]"_s,
                                  u"userfield[field6]"_s, u"userfield[field2]"_s, u"userfield[field3]"_s,
                                  u"userfield[field4]"_s, u"userfield[field5]"_s, u"forum_rules_agreement"_s,
                                  u"forum_rules"_s, u"Photo"_s}));
    picture(u"registration-form.png"_s);

    // Field by field: the name, the password (shown masked), the address.
    typeInto(u"username"_s, u"alice"_s);
    pressReturn(cell<FieldTextCell>(u"username"_s)->field());
    EXPECT_TRUE(cell<FieldTextCell>(u"password"_s)->field()->isEditing()) << "Return goes on to the next field";
    type(cell<FieldTextCell>(u"password"_s)->field(), u"pedal-on"_s);
    EXPECT_EQ(displayedText(cell<FieldTextCell>(u"password"_s)->field()).size(), 8);
    EXPECT_FALSE(displayedText(cell<FieldTextCell>(u"password"_s)->field()).contains(u"pedal"_s));
    typeInto(u"passwordconfirm"_s, u"pedal-off"_s);
    typeInto(u"email"_s, u"alice@example.org"_s);
    EXPECT_EQ(cell<FieldTextCell>(u"email"_s)->field()->keyboardType(), KeyboardType::EmailAddress);
    chooseDate(QDate(1990, 3, 14), u"registration-date.png"_s);
    EXPECT_EQ(cell<FieldDateCell>(u"date_of_birth"_s)->field()->currentTitle(), u"March 14, 1990"_s);
    EXPECT_EQ(forum().requests(u"register_checkdate"_s).size(), 0) << "this forum checks no dates";
    typeInto(u"userfield[field2]"_s, u"Lisbon"_s);
    typeInto(u"userfield[field4]"_s, u"since ever"_s);

    // A text of several lines on its panel.
    tap(cell<FieldMultiTextCell>(u"userfield[field3]"_s)->field());
    TextView* about = cell<FieldMultiTextCell>(u"userfield[field3]"_s)->textView();
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(about->isFirstResponder()) << "the panel's text takes the keyboard";
    typeKeys(u"Two wheels,\nfour seasons."_s);
    tapDone();
    EXPECT_EQ(valueOf(u"userfield[field3]"_s), u"Two wheels,\nfour seasons."_s);

    // Choices: several interests (one taken back), a season, languages.
    tap(cell<FieldMultiPickerCell>(u"userfield[field5]"_s)->field());
    TableView* interests = cell<FieldMultiPickerCell>(u"userfield[field5]"_s)->pickerTable();
    ASSERT_NE(interests, nullptr);
    for (const int row : {0, 2, 3, 2})
        tapAt(interests->convertPoint(interests->rectForRowAtIndexPath(IndexPath{0, row}).center(), nullptr));
    picture(u"registration-choices.png"_s);
    tapDone();
    EXPECT_EQ(cell<FieldMultiPickerCell>(u"userfield[field5]"_s)->field()->currentTitle(), u"Cycling, Books"_s);
    tap(cell<FieldPickerCell>(u"userfield[field6]"_s)->field());
    cell<FieldPickerCell>(u"userfield[field6]"_s)->picker()->pickRow(2, 0);
    tapDone();
    EXPECT_EQ(cell<FieldPickerCell>(u"userfield[field6]"_s)->field()->currentTitle(), u"Autumn"_s);

    // The rules, on a page of their own.
    tap(cell<FieldLinkCell>(u"forum_rules"_s)->field());
    auto* rules = topScreenAs<FieldLinkDetails>();
    ASSERT_NE(rules, nullptr);
    EXPECT_TRUE(rules->web()->shownText().contains(u"forum rules"_s));
    EXPECT_EQ(rules->web()->delegate(), rules);
    picture(u"registration-rules.png"_s);
    back();
    ASSERT_EQ(topScreenAs<RegistrationController>(), screen);

    // Checked here before anything is sent: the confirmation, then the rules.
    tapSubmit();
    EXPECT_EQ(takeAlert().second, text("reg_invalid_password"));
    retype(u"passwordconfirm"_s, u"pedal-on"_s);
    tapSubmit();
    EXPECT_EQ(takeAlert().second, text("register_not_agreed"));
    EXPECT_EQ(signUps(), 0);
    tap(cell<FieldCheckboxCell>(u"forum_rules_agreement"_s)->checkbox());

    // Refused by the forum, one field at a time: each alert names the field
    // and why, the form stays as filled and "submit" comes back.
    const ValueDict filled = form()->values();
    tapSubmit();
    picture(u"registration-refused.png"_s);
    EXPECT_EQ(takeAlert(), std::make_pair(u"Username"_s, tableText(u"usernametaken"_s)));
    EXPECT_EQ(form()->values().keys(), filled.keys());
    EXPECT_EQ(valueOf(u"userfield[field3]"_s), u"Two wheels,\nfour seasons."_s);
    EXPECT_EQ(valueOf(u"password"_s), u"pedal-on"_s);
    ASSERT_NE(screen->navigationItem()->rightBarButtonItem(), nullptr);
    retype(u"username"_s, u"henrique"_s);
    tapSubmit();
    EXPECT_EQ(takeAlert(), std::make_pair(u"Email Address"_s, tableText(u"emailtaken"_s)));
    retype(u"email"_s, u"henrique@example.net"_s);
    tapSubmit();
    EXPECT_EQ(takeAlert(), std::make_pair(u"Riding since"_s, tableText(u"required_field_x_missing_or_invalid"_s)));
    retype(u"userfield[field4]"_s, u"2004"_s);
    retype(u"password"_s, u"ab1"_s);
    retype(u"passwordconfirm"_s, u"ab1"_s);
    tapSubmit();
    EXPECT_EQ(takeAlert(), std::make_pair(u"Password"_s, text("reg_password_too_short")));
    retype(u"password"_s, u"pedal-on"_s);
    retype(u"passwordconfirm"_s, u"pedal-on"_s);

    // A picture of the new member, sent once the member is signed in.
    ImagePickerStub machine(true, false);
    choosePhoto(machine, Qt::blue);
    picture(u"registration-photo.png"_s);

    // Accepted: what was sent, and the new member at home above the login screen.
    tap(cell<FieldTextCell>(u"passwordconfirm"_s)->field());
    pressReturn(cell<FieldTextCell>(u"passwordconfirm"_s)->field());
    pressReturn(cell<FieldTextCell>(u"email"_s)->field());
    EXPECT_EQ(FieldCell::firstResponder(), nullptr) << "the last text field before a date ends the editing";
    EXPECT_EQ(form()->table()->frame(), form()->bounds()) << "the keyboard's room is given back";
    form()->table()->setContentOffset(QPointF(0, 0));
    picture(u"registration-filled.png"_s);
    tapSubmit();
    const TestForumRequest sent = lastRequest(u"register_addmember"_s);
    EXPECT_EQ(sent.field(u"username"_s), u"henrique");
    EXPECT_EQ(sent.field(u"emailconfirm"_s), u"henrique@example.net");
    EXPECT_EQ(sent.field(u"password_md5"_s), StringExtensions::md5(u"pedal-on"_s));
    EXPECT_FALSE(sent.fields.contains(u"password"_s));
    EXPECT_EQ(sent.field(u"agree"_s), u"1");
    EXPECT_EQ(sent.field(u"day"_s) + u'.' + sent.field(u"month"_s) + u'.' + sent.field(u"year"_s), u"14.3.1990");
    EXPECT_EQ(sent.fieldValues(u"userfield[field5][]"_s), (QStringList{u"1"_s, u"4"_s}));
    EXPECT_EQ(sent.field(u"userfield[field6]"_s), u"3");
    EXPECT_FALSE(sent.fields.contains(u"forum_rules_agreement"_s));
    EXPECT_FALSE(sent.fields.contains(u"parent_email"_s));
    HomeController* homeScreen = home();
    ASSERT_NE(homeScreen, nullptr);
    ASSERT_EQ(screens().size(), 2);
    EXPECT_NE(dynamic_cast<LoginController*>(screens().first().get()), nullptr);
    EXPECT_EQ(CurrentUser::currentUser()->userid(), forum().memberId(u"henrique"_s));
    EXPECT_EQ(named<Button>(homeScreen, "welcome")->titleForState(ControlState::Normal), u"Welcome, henrique"_s);
    EXPECT_TRUE(alertsOnScreen().isEmpty());
    EXPECT_FALSE(sent.fields.contains(u"Photo"_s));
    ASSERT_TRUE(waitUntil([&] { return !forum().requests(u"profile_updateprofilepic"_s).isEmpty(); }));
    const TestForumRequest upload = forum().requests(u"profile_updateprofilepic"_s).first();
    ASSERT_EQ(upload.uploads.size(), 1);
    const QImage sentPicture = QImage::fromData(upload.uploads.first().data);
    ASSERT_FALSE(sentPicture.isNull());
    EXPECT_GT(sentPicture.pixelColor(5, 5).blue(), 200);
}

TEST_F(RegistrationScenarioTest, AForumThatChecksDatesAsksTheDateFirstAndAChildForAParentsAddress)
{
    forum().setRegistrationUsesCoppa(true);
    RegistrationController* screen = openFromLogin();
    ASSERT_NE(screen, nullptr);
    // The date alone first; nothing is checked until one is chosen.
    ASSERT_EQ(form()->fields().size(), 1);
    EXPECT_EQ(form()->fields().first()->name(), u"date_of_birth"_s);
    EXPECT_EQ(forum().requests(u"register_checkdate"_s).size(), 0);
    picture(u"registration-date-first.png"_s);

    // A child: the date is checked, the full form asks for a parent's address
    // and keeps the chosen day for the sign-up.
    const QDate today = Clock::current().now().toLocalTime().date();
    const QDate child(today.year() - 9, 5, 20);
    chooseDate(child);
    settleAndFinish();
    const TestForumRequest check = lastRequest(u"register_checkdate"_s);
    EXPECT_EQ(check.field(u"day"_s), u"20");
    EXPECT_EQ(check.field(u"month"_s), u"5");
    EXPECT_EQ(check.field(u"year"_s), QString::number(child.year()));
    ASSERT_TRUE(form()->containsFieldWithName(u"parent_email"_s));
    EXPECT_TRUE(form()->containsFieldWithName(u"date_of_birth"_s)) << "a mistaken date can be mended";
    EXPECT_TRUE(form()->containsFieldWithName(u"userfield[field2]"_s));
    auto* rules = cell<FieldLinkCell>(u"forum_rules"_s);
    ASSERT_NE(rules, nullptr);
    tap(rules->field());
    ASSERT_NE(topScreenAs<FieldLinkDetails>(), nullptr);
    EXPECT_TRUE(topScreenAs<FieldLinkDetails>()->web()->shownText().contains(u"parent's consent"_s))
        << "a child reads the children's rules";
    back();

    // Too young without the parent's address: the field is named.
    fillTheForm(u"pipa"_s, u"pedal-on"_s);
    picture(u"registration-parent.png"_s);
    tapSubmit();
    EXPECT_EQ(takeAlert(), std::make_pair(u"Parent/Guardian Email"_s,
                                          tableText(u"under_thirteen_registration_denied"_s)));
    EXPECT_EQ(valueOf(u"username"_s), u"pipa"_s);
    // With it, the forum takes the child.
    typeInto(u"parent_email"_s, u"mum@example.net"_s);
    tapSubmit();
    const TestForumRequest sent = lastRequest(u"register_addmember"_s);
    EXPECT_EQ(sent.field(u"parent_email"_s), u"mum@example.net");
    EXPECT_EQ(sent.field(u"year"_s), QString::number(child.year()));
    EXPECT_EQ(sent.field(u"day"_s), u"20");
    ASSERT_NE(home(), nullptr);
    EXPECT_EQ(CurrentUser::currentUser()->userid(), forum().memberId(u"pipa"_s));
}

TEST_F(RegistrationScenarioTest, AGrownUpOnAForumThatChecksDatesIsAskedForNoParentAndConfirmsByEmail)
{
    forum().setRegistrationUsesCoppa(true);
    forum().setRegistrationOutcome(u"registeremail"_s);
    ASSERT_NE(openFromLogin(), nullptr);
    chooseDate(QDate(1985, 1, 2));
    settleAndFinish();
    ASSERT_TRUE(form()->containsFieldWithName(u"username"_s));
    EXPECT_FALSE(form()->containsFieldWithName(u"parent_email"_s));
    fillTheForm(u"grownup"_s, u"pedal-on"_s);
    tapSubmit();
    EXPECT_FALSE(lastRequest(u"register_addmember"_s).fields.contains(u"parent_email"_s));
    EXPECT_EQ(lastRequest(u"register_addmember"_s).field(u"year"_s), u"1985");
    EXPECT_EQ(takeAlert(), std::make_pair(u"Registration Complete"_s, text("reg_confirmation")));
    ASSERT_NE(home(), nullptr);
    EXPECT_EQ(CurrentUser::currentUser()->userid(), forum().memberId(u"grownup"_s));
}

TEST_F(RegistrationScenarioTest, ASignUpHeldForAModeratorLeadsBackToTheLoginScreen)
{
    // A guest at home signs up from there.
    forum().setRegistrationOutcome(u"moderateuser"_s);
    LoginController* login = launchToLogin();
    ASSERT_NE(login, nullptr);
    tap(login->skipNowButton());
    HomeController* homeScreen = home();
    ASSERT_NE(homeScreen, nullptr);
    ASSERT_FALSE(named<GradientButton>(homeScreen, "signUp")->isHidden());
    tap(named<GradientButton>(homeScreen, "signUp"));
    ASSERT_NE(signUpScreen(), nullptr);
    EXPECT_EQ(screens().size(), 3);

    fillTheForm(u"waiting"_s, u"pedal-on"_s);
    chooseDate(QDate(1979, 11, 30));
    ImagePickerStub machine(true, false);
    choosePhoto(machine, Qt::green);
    tapSubmit();
    EXPECT_GT(forum().memberId(u"waiting"_s), 0);
    EXPECT_EQ(takeAlert(), std::make_pair(QString(), text("reg_moderate_user")));
    settleAndFinish();
    // Nobody waits for a sign-in that cannot come: the login screen is back.
    ASSERT_EQ(screens().size(), 1);
    EXPECT_NE(topScreenAs<LoginController>(), nullptr);
    EXPECT_TRUE(forum().requests(u"login_login"_s).isEmpty());
    EXPECT_LT(CurrentUser::currentUser()->userid(), 1);
    // The picture waits for the member's first sign-in.
    EXPECT_TRUE(QFile::exists(CurrentUser::registrationPicturePath(u"waiting"_s)));
    EXPECT_TRUE(forum().requests(u"profile_updateprofilepic"_s).isEmpty());
}

TEST_F(RegistrationScenarioTest, TabAndShiftTabReachEveryTextFieldAndPickerRowOfTheFormDownToTheLastAndBack)
{
    ASSERT_NE(openFromLogin(), nullptr);
    // The rows the keyboard stops at, in the form's order, most of them
    // below the screen's fold: the text fields and the rows that open a
    // picker (a switch or a picture row is the mouse's).
    QList<FieldPtr> stops;
    for (const FieldPtr& f : form()->fields()) {
        if (f->isFocusable() || std::dynamic_pointer_cast<FieldPicker>(f) || std::dynamic_pointer_cast<FieldMultiPicker>(f)
            || std::dynamic_pointer_cast<FieldDate>(f) || std::dynamic_pointer_cast<FieldMultiText>(f))
            stops.append(f);
    }
    ASSERT_GE(stops.size(), 9);
    // The field whose row has the keyboard: its text being edited, or its button focused.
    const auto focusedRow = [&]() -> QString {
        TextField* shown = FieldCell::firstResponder();
        for (const FieldPtr& f : stops) {
            TableViewCell* row = form()->table()->cellForRowAtIndexPath(form()->indexPathForField(f.get()));
            auto* text = dynamic_cast<FieldTextCell*>(row);
            if (text && text->field() == shown && shown->isFirstResponder())
                return f->name();
            auto* button = dynamic_cast<FieldButtonCell*>(row);
            if (button && QApplication::focusWidget() == button->field() && button->field()->showsFocusMark())
                return f->name();
        }
        return QStringLiteral("(none)");
    };
    TextField* first = cell<FieldTextCell>(stops.first()->name())->field();
    click(first->convertRect(first->bounds(), nullptr).center());
    finishAnimations();
    ASSERT_EQ(focusedRow(), stops.first()->name());
    for (qsizetype at = 1; at < stops.size(); ++at) {
        key(Qt::Key_Tab);
        finishAnimations();
        EXPECT_EQ(focusedRow(), stops.at(at)->name()) << "Tab " << at;
    }
    picture(u"registration-last-text-field.png"_s);
    for (qsizetype at = stops.size() - 2; at >= 0; --at) {
        key(Qt::Key_Backtab, Qt::ShiftModifier);
        finishAnimations();
        EXPECT_EQ(focusedRow(), stops.at(at)->name()) << "Shift+Tab " << at;
    }

    // The season's row, reached by Tab, opens its picker with Space on the
    // forum's choice; the arrows choose and Return closes it.
    qsizetype season = -1;
    for (qsizetype at = 0; at < stops.size(); ++at) {
        if (stops.at(at)->name() == u"userfield[field6]"_s)
            season = at;
    }
    ASSERT_GT(season, 0);
    for (qsizetype at = 1; at <= season; ++at)
        key(Qt::Key_Tab);
    finishAnimations();
    ASSERT_EQ(focusedRow(), u"userfield[field6]"_s);
    picture(u"registration-picker-row-focused.png"_s);
    key(Qt::Key_Space);
    finishAnimations();
    auto* seasons = cell<FieldPickerCell>(u"userfield[field6]"_s);
    ASSERT_NE(seasons->modalView(), nullptr);
    ASSERT_FALSE(seasons->modalView()->isHidden());
    ASSERT_EQ(QApplication::focusWidget(), seasons->picker());
    EXPECT_EQ(seasons->picker()->selectedRowInComponent(0), 1);
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    finishAnimations();
    EXPECT_TRUE(seasons->modalView() == nullptr || seasons->modalView()->isHidden());
    EXPECT_EQ(seasons->field()->currentTitle(), u"Autumn"_s);
}

TEST_F(RegistrationScenarioTest, PanelsLeftWithEscapeOrTheShadeChangeNothingAndARefusedFieldIsOneAlertThatHoldsTheKeys)
{
    RegistrationController* screen = openFromLogin();
    ASSERT_NE(screen, nullptr);
    // The forum's own choices are there from the start.
    EXPECT_EQ(cell<FieldPickerCell>(u"userfield[field6]"_s)->field()->currentTitle(), u"Summer"_s);
    EXPECT_EQ(cell<FieldPickerCell>(u"userfield[field7]"_s)->field()->currentTitle(), u"No"_s);
    EXPECT_EQ(valueOf(u"userfield[field6]"_s), u"2"_s);
    EXPECT_EQ(valueOf(u"userfield[field7]"_s), u"2"_s);

    // The date panel opens on today; Escape and the shade leave no date.
    auto* date = openPanel<FieldDateCell>(u"date_of_birth"_s);
    ASSERT_NE(date, nullptr);
    ASSERT_NE(date->picker(), nullptr);
    EXPECT_EQ(date->picker()->date(), Clock::current().now().toLocalTime().date());
    picture(u"registration-date-panel.png"_s);
    pressEscape();
    EXPECT_EQ(panel(), nullptr);
    EXPECT_EQ(dateTitle(), u"Date of Birth"_s);
    EXPECT_FALSE(form()->values().contains(u"date_of_birth"_s));
    openPanel<FieldDateCell>(u"date_of_birth"_s);
    tapShade();
    EXPECT_EQ(dateTitle(), u"Date of Birth"_s);
    EXPECT_FALSE(form()->values().contains(u"date_of_birth"_s));

    // The season's picker opens on the forum's choice; a turn left with
    // Escape keeps it.
    auto* season = openPanel<FieldPickerCell>(u"userfield[field6]"_s);
    ASSERT_NE(season, nullptr);
    EXPECT_EQ(season->picker()->selectedRowInComponent(0), 1);
    key(Qt::Key_Down);
    pressEscape();
    EXPECT_EQ(panel(), nullptr);
    EXPECT_EQ(cell<FieldPickerCell>(u"userfield[field6]"_s)->field()->currentTitle(), u"Summer"_s);
    EXPECT_EQ(valueOf(u"userfield[field6]"_s), u"2"_s);

    // Interests ticked, then the shade: none taken. A text typed, then Escape: not kept.
    auto* interests = openPanel<FieldMultiPickerCell>(u"userfield[field5]"_s);
    ASSERT_NE(interests, nullptr);
    TableView* list = interests->pickerTable();
    tapAt(list->convertPoint(list->rectForRowAtIndexPath(IndexPath{0, 1}).center(), nullptr));
    tapShade();
    EXPECT_EQ(cell<FieldMultiPickerCell>(u"userfield[field5]"_s)->field()->currentTitle(), u"Interests"_s);
    EXPECT_EQ(form()->values().value(u"userfield[field5]"_s).size(), 0);
    openPanel<FieldMultiTextCell>(u"userfield[field3]"_s);
    typeKeys(u"Half a thought"_s);
    pressEscape();
    EXPECT_EQ(panel(), nullptr);
    EXPECT_EQ(valueOf(u"userfield[field3]"_s), QString());
    EXPECT_EQ(cell<FieldMultiTextCell>(u"userfield[field3]"_s)->field()->currentTitle(), u"About you"_s);
    // Done still keeps what the panel shows.
    openPanel<FieldMultiPickerCell>(u"userfield[field5]"_s);
    list = cell<FieldMultiPickerCell>(u"userfield[field5]"_s)->pickerTable();
    tapAt(list->convertPoint(list->rectForRowAtIndexPath(IndexPath{0, 1}).center(), nullptr));
    tapDone();
    EXPECT_EQ(cell<FieldMultiPickerCell>(u"userfield[field5]"_s)->field()->currentTitle(), u"Maps"_s);

    // Everything but the location, then Submit: one alert names the field.
    typeInto(u"username"_s, u"newbie"_s);
    typeInto(u"password"_s, u"pedal-on"_s);
    typeInto(u"passwordconfirm"_s, u"pedal-on"_s);
    typeInto(u"email"_s, u"newbie@example.net"_s);
    chooseDate(QDate(1991, 6, 2));
    tap(cell<FieldCheckboxCell>(u"forum_rules_agreement"_s)->checkbox());
    tapSubmit();
    EXPECT_EQ(signUps(), 1);
    ASSERT_EQ(alertsOnScreen().size(), 1) << "one alert for one refusal";
    EXPECT_EQ(alertsOnScreen().first()->title(), u"Location"_s);
    EXPECT_EQ(alertsOnScreen().first()->message(), tableText(u"required_field_x_missing_or_invalid"_s));
    picture(u"registration-refused-location.png"_s);

    // While it is up the keyboard is the alert's: Tab goes nowhere behind
    // it, and what is typed reaches no field.
    AlertOverlay* alert = alertOnTop();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(focused(), alert);
    for (int i = 0; i < 3; ++i) {
        key(Qt::Key_Tab);
        EXPECT_EQ(focused(), alert) << "Tab " << i;
    }
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), alert);
    typeKeys(u"zz"_s);
    key(Qt::Key_Return);
    finishAnimations();
    EXPECT_TRUE(alertsOnScreen().isEmpty());
    ASSERT_EQ(topScreenAs<RegistrationController>(), screen) << "Return answered the alert, not the screen";
    EXPECT_EQ(screens().size(), 2);
    EXPECT_EQ(valueOf(u"username"_s), u"newbie"_s);
    EXPECT_EQ(valueOf(u"password"_s), u"pedal-on"_s);

    // Again, and Escape: the alert goes, the form stays.
    tapSubmit();
    ASSERT_EQ(alertsOnScreen().size(), 1);
    key(Qt::Key_Tab);
    pressEscape();
    EXPECT_TRUE(alertsOnScreen().isEmpty());
    ASSERT_EQ(topScreenAs<RegistrationController>(), screen);
    EXPECT_EQ(valueOf(u"email"_s), u"newbie@example.net"_s);

    // With the location the forum takes it, the untouched choices as the forum chose them.
    typeInto(u"userfield[field2]"_s, u"Aveiro"_s);
    tapSubmit();
    const TestForumRequest sent = lastRequest(u"register_addmember"_s);
    EXPECT_EQ(sent.field(u"userfield[field6]"_s), u"2");
    EXPECT_EQ(sent.field(u"userfield[field7]"_s), u"2");
    EXPECT_EQ(sent.fieldValues(u"userfield[field5][]"_s), QStringList{u"2"_s});
    EXPECT_TRUE(sent.field(u"userfield[field3]"_s).isEmpty());
    EXPECT_EQ(sent.field(u"year"_s), u"1991");
    ASSERT_NE(home(), nullptr);
    EXPECT_EQ(CurrentUser::currentUser()->userid(), forum().memberId(u"newbie"_s));
}

TEST_F(RegistrationScenarioTest, AForumThatRefusesChildrenKeepsTheDateToMendAndOffersNoFormItCanOnlyRefuse)
{
    forum().setRegistrationRefusesChildren();
    RegistrationController* screen = openFromLogin();
    ASSERT_NE(screen, nullptr);
    ASSERT_EQ(form()->fields().size(), 1);
    EXPECT_FALSE(screen->submitButton()->isEnabled()) << "nothing to send before the date is checked";

    // Today is no date of birth: Escape and the shade leave the date unchosen and unchecked.
    openPanel<FieldDateCell>(u"date_of_birth"_s);
    pressEscape();
    EXPECT_EQ(panel(), nullptr);
    openPanel<FieldDateCell>(u"date_of_birth"_s);
    tapShade();
    settleAndFinish();
    EXPECT_EQ(dateChecks(), 0);
    EXPECT_EQ(dateTitle(), u"Date of Birth"_s);
    ASSERT_EQ(form()->fields().size(), 1);

    // A child's date (a year typed wrong): refused, and the date is there to mend.
    const QDate today = Clock::current().now().toLocalTime().date();
    chooseDate(QDate(today.year() - 8, 6, 2));
    settleAndFinish();
    EXPECT_EQ(dateChecks(), 1);
    EXPECT_EQ(takeAlert().second, tableText(u"under_thirteen_registration_denied"_s));
    EXPECT_TRUE(alertsOnScreen().isEmpty());
    picture(u"registration-child-refused.png"_s);
    EXPECT_TRUE(form()->containsFieldWithName(u"date_of_birth"_s));
    EXPECT_FALSE(form()->containsFieldWithName(u"username"_s)) << "no form the forum can only refuse";
    EXPECT_FALSE(form()->containsFieldWithName(u"parent_email"_s));
    EXPECT_FALSE(screen->submitButton()->isEnabled());

    // Mended: the grown-up's form, the date still on it; the forum takes it.
    chooseDate(QDate(1988, 6, 2));
    settleAndFinish();
    ASSERT_TRUE(form()->containsFieldWithName(u"username"_s));
    EXPECT_TRUE(form()->containsFieldWithName(u"date_of_birth"_s));
    EXPECT_FALSE(form()->containsFieldWithName(u"parent_email"_s));
    EXPECT_EQ(dateTitle(), u"June 2, 1988"_s);
    EXPECT_TRUE(screen->submitButton()->isEnabled());
    picture(u"registration-date-mended.png"_s);
    fillTheForm(u"mended"_s, u"pedal-on"_s);
    tapSubmit();
    EXPECT_EQ(lastRequest(u"register_addmember"_s).field(u"year"_s), u"1988");
    ASSERT_NE(home(), nullptr);
    EXPECT_EQ(CurrentUser::currentUser()->userid(), forum().memberId(u"mended"_s));
}

TEST_F(RegistrationScenarioTest, AForumClosedToNewMembersSaysSoAndTheLoginScreenIsBack)
{
    // Closed before the form came: said, and no form.
    forum().setRegistrationClosed(true);
    LoginController* login = launchToLogin();
    ASSERT_NE(login, nullptr);
    tap(login->registerButton());
    ASSERT_TRUE(waitUntil([&] { return !alertsOnScreen().isEmpty(); }));
    settleAndFinish();
    ASSERT_EQ(alertsOnScreen().size(), 1);
    EXPECT_EQ(alertsOnScreen().first()->message(), tableText(u"noregister"_s));
    picture(u"registration-closed.png"_s);
    key(Qt::Key_Return);
    finishAnimations();
    EXPECT_TRUE(alertsOnScreen().isEmpty());
    EXPECT_EQ(topScreenAs<LoginController>(), login);
    EXPECT_EQ(screens().size(), 1);

    // Closed while the form was being filled: the sign-up is refused the same way.
    forum().setRegistrationClosed(false);
    tap(login->registerButton());
    ASSERT_NE(signUpScreen(), nullptr);
    forum().setRegistrationClosed(true);
    fillTheForm(u"toolate"_s, u"pedal-on"_s);
    chooseDate(QDate(1979, 11, 30));
    tapSubmit();
    EXPECT_EQ(signUps(), 1);
    EXPECT_EQ(takeAlert().second, tableText(u"noregister"_s));
    settleAndFinish();
    EXPECT_EQ(topScreenAs<LoginController>(), login);
    EXPECT_EQ(screens().size(), 1);
    EXPECT_EQ(forum().memberId(u"toolate"_s), 0);
}


TEST_F(RegistrationScenarioTest, TheWheelOverAFilledFormLeavesTheKeyboardOnItsRowAndReturnLeavesNothing)
{
    RegistrationController* screen = openFromLogin();
    ASSERT_NE(screen, nullptr);
    typeInto(u"username"_s, u"alice"_s);
    for (int tab = 0; tab < 4; ++tab)
        key(Qt::Key_Tab);
    finishAnimations();
    ASSERT_EQ(keyboardOn(), u"date_of_birth"_s);
    auto* date = cell<FieldDateCell>(u"date_of_birth"_s);
    ASSERT_NE(date, nullptr);
    TableView* table = form()->table();
    const IndexPath dateRow = table->indexPathForCell(date);

    // Down the form until the row has long left the screen: the keyboard
    // stays on it, and Return presses the date's button, not the bar's back.
    for (int notch = 1; notch <= 8; ++notch) {
        turnWheel(1);
        EXPECT_EQ(keyboardOn(), u"date_of_birth"_s) << "notch " << notch;
    }
    EXPECT_FALSE(table->bounds().intersects(table->rectForRowAtIndexPath(dateRow))) << "the row left the screen";
    key(Qt::Key_Return);
    finishAnimations();
    ASSERT_EQ(topScreenAs<RegistrationController>(), screen) << "Return left the form";
    ASSERT_NE(panel(), nullptr) << "Return opened the date's panel";
    pressEscape();
    EXPECT_EQ(keyboardOn(), u"date_of_birth"_s);
    // Back up: the row comes back with its button, the focus mark on it.
    turnWheel(-8);
    EXPECT_EQ(table->cellForRowAtIndexPath(dateRow), date);
    EXPECT_GT(focusMarkPixels(date->field()), 20) << "the focus mark shows on the row";
    picture(u"registration-wheel-keeps-the-focus.png"_s);

    // A text being typed: the wheel takes its row away, and the keys still
    // write into it and into no other field.
    typeInto(u"email"_s, u"alice@"_s);
    turnWheel(8);
    typeKeys(u"example.org"_s);
    EXPECT_EQ(valueOf(u"email"_s), u"alice@example.org"_s);
    for (const QString& other : {u"username"_s, u"password"_s, u"passwordconfirm"_s, u"userfield[field2]"_s,
                                 u"userfield[field4]"_s})
        EXPECT_EQ(valueOf(other), other == u"username" ? u"alice"_s : QString()) << qPrintable(other);
    turnWheel(-8);
    EXPECT_TRUE(cell<FieldTextCell>(u"email"_s)->field()->isEditing());
    EXPECT_EQ(topScreenAs<RegistrationController>(), screen);
}

TEST_F(RegistrationScenarioTest, ADateChosenByKeyboardOnAForumThatChecksItKeepsTheKeyboardThroughTheWholeForm)
{
    forum().setRegistrationUsesCoppa(true);
    RegistrationController* screen = openFromLogin();
    ASSERT_NE(screen, nullptr);
    // The date-only form opens on its one row; Space opens the panel, Return is its Done.
    ASSERT_EQ(keyboardOn(), u"date_of_birth"_s);
    key(Qt::Key_Space);
    finishAnimations();
    ASSERT_NE(panel(), nullptr);
    cell<FieldDateCell>(u"date_of_birth"_s)->picker()->setDate(QDate(1985, 1, 2));
    key(Qt::Key_Return);
    settleAndFinish();
    ASSERT_EQ(dateChecks(), 1);
    ASSERT_TRUE(form()->containsFieldWithName(u"username"_s));
    // The form laid out anew keeps the keyboard on the date; nor does the wheel move it.
    EXPECT_EQ(keyboardOn(), u"date_of_birth"_s);
    turnWheel(8);
    EXPECT_EQ(keyboardOn(), u"date_of_birth"_s);
    key(Qt::Key_Return);
    finishAnimations();
    ASSERT_EQ(topScreenAs<RegistrationController>(), screen) << "Return left the form";
    ASSERT_NE(panel(), nullptr);
    pressEscape();
    EXPECT_EQ(dateTitle(), u"January 2, 1985"_s);
}

TEST_F(RegistrationScenarioTest, LeavingAFormThatHoldsEntriesAsksFirstAndAnUntouchedOneGoesAtOnce)
{
    // Untouched: Escape leaves at once, and so does the back button.
    LoginController* login = launchToLogin();
    ASSERT_NE(login, nullptr);
    tap(login->registerButton());
    ASSERT_NE(signUpScreen(), nullptr);
    pressEscape();
    EXPECT_TRUE(alertsOnScreen().isEmpty());
    ASSERT_EQ(topScreenAs<LoginController>(), login);
    tap(login->registerButton());
    ASSERT_NE(signUpScreen(), nullptr);
    tapBack();
    EXPECT_TRUE(alertsOnScreen().isEmpty());
    ASSERT_EQ(topScreenAs<LoginController>(), login);

    // Filled in: the back button asks; Cancel (Return) keeps every value.
    tap(login->registerButton());
    RegistrationController* screen = signUpScreen();
    ASSERT_NE(screen, nullptr);
    typeInto(u"username"_s, u"alice"_s);
    chooseDate(QDate(1990, 3, 14));
    tapBack();
    ASSERT_EQ(alertsOnScreen().size(), 1);
    EXPECT_EQ(alertsOnScreen().first()->title(), text("reg_leave"));
    EXPECT_EQ(alertsOnScreen().first()->buttonTitles(), (QStringList{text("cancel"), text("discard")}));
    picture(u"registration-leave-question.png"_s);
    key(Qt::Key_Return);
    finishAnimations();
    EXPECT_TRUE(alertsOnScreen().isEmpty());
    ASSERT_EQ(topScreenAs<RegistrationController>(), screen);
    EXPECT_EQ(valueOf(u"username"_s), u"alice"_s);
    EXPECT_EQ(dateTitle(), u"March 14, 1990"_s);

    // Escape asks too, from a text being edited as from nowhere, and Escape
    // on the question is its Cancel: the text is edited again.
    tap(cell<FieldTextCell>(u"username"_s)->field());
    ASSERT_EQ(keyboardOn(), u"username"_s);
    pressEscape();
    ASSERT_EQ(alertsOnScreen().size(), 1);
    EXPECT_EQ(alertsOnScreen().first()->title(), text("reg_leave"));
    pressEscape();
    EXPECT_TRUE(alertsOnScreen().isEmpty());
    ASSERT_EQ(topScreenAs<RegistrationController>(), screen);
    EXPECT_EQ(keyboardOn(), u"username"_s);

    // The back button reached with Shift+Tab and pressed with Space: one
    // question, and only Discard leaves.
    for (int tab = 0; tab < 2 && keyboardOn() != u"the back button"; ++tab)
        key(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(keyboardOn(), u"the back button"_s);
    key(Qt::Key_Space);
    finishAnimations();
    ASSERT_EQ(alertsOnScreen().size(), 1);
    ASSERT_EQ(topScreenAs<RegistrationController>(), screen);
    tapAlertButton(1);
    finishAnimations();
    EXPECT_EQ(topScreenAs<LoginController>(), login);
    EXPECT_EQ(screens().size(), 1);
}

TEST_F(RegistrationScenarioTest, TheFormOpensOnItsFirstFieldAndARefusalPutsTheKeyboardOnTheFieldItNames)
{
    RegistrationController* screen = openFromLogin();
    ASSERT_NE(screen, nullptr);
    // Typed at once, the name lands in its field; the first Tab goes on down the form.
    ASSERT_EQ(keyboardOn(), u"username"_s);
    EXPECT_TRUE(cell<FieldTextCell>(u"username"_s)->field()->isEditing());
    picture(u"registration-first-field.png"_s);
    typeKeys(u"alice"_s);
    key(Qt::Key_Tab);
    EXPECT_EQ(keyboardOn(), u"password"_s);
    typeKeys(u"pedal-on\tpedal-on\tnewbie@example.net"_s);
    EXPECT_EQ(valueOf(u"username"_s), u"alice"_s);
    EXPECT_EQ(valueOf(u"passwordconfirm"_s), u"pedal-on"_s);
    EXPECT_EQ(valueOf(u"email"_s), u"newbie@example.net"_s);
    chooseDate(QDate(1991, 6, 2));

    // The languages' panel covers the form: white under its last option
    // (inside the ring that says the list has the keys).
    auto* languages = openPanel<FieldMultiPickerCell>(u"userfield[field8]"_s);
    ASSERT_NE(languages, nullptr);
    TableView* list = languages->pickerTable();
    const QRectF shown = list->convertRect(list->bounds(), nullptr);
    const int options = list->numberOfRowsInSection(0);
    const qreal below = list->convertRect(list->rectForRowAtIndexPath(IndexPath{0, options - 1}), nullptr).bottom() + 1;
    ASSERT_GT(shown.bottom() - below, 20) << "room under the options";
    picture(u"registration-languages-panel.png"_s);
    const QImage under = shownPart(QRectF(shown.left() + 8, below + 2, shown.width() - 16, shown.bottom() - below - 10));
    int notWhite = 0;
    for (int y = 0; y < under.height(); ++y) {
        for (int x = 0; x < under.width(); ++x)
            notWhite += under.pixel(x, y) != qRgb(255, 255, 255);
    }
    EXPECT_EQ(notWhite, 0) << "the form shows through the panel";
    pressEscape();
    tap(cell<FieldCheckboxCell>(u"forum_rules_agreement"_s)->checkbox());

    // The forum refuses the name: once the alert is answered the name has
    // the keyboard, and what is typed mends it.
    tapSubmit();
    ASSERT_EQ(alertsOnScreen().size(), 1);
    EXPECT_EQ(alertsOnScreen().first()->title(), u"Username"_s);
    key(Qt::Key_Return);
    finishAnimations();
    ASSERT_EQ(keyboardOn(), u"username"_s);
    EXPECT_TRUE(cell<FieldTextCell>(u"username"_s)->field()->isEditing());
    key(Qt::Key_A, Qt::ControlModifier);
    typeKeys(u"newbie"_s);
    EXPECT_EQ(valueOf(u"username"_s), u"newbie"_s);

    // Then the location, far down the form: in view and with the keyboard.
    tapSubmit();
    ASSERT_EQ(alertsOnScreen().size(), 1);
    EXPECT_EQ(alertsOnScreen().first()->title(), u"Location"_s);
    pressEscape();
    ASSERT_EQ(keyboardOn(), u"userfield[field2]"_s);
    TextField* location = cell<FieldTextCell>(u"userfield[field2]"_s)->field();
    EXPECT_TRUE(form()->table()->bounds().contains(
        form()->table()->rectForRowAtIndexPath(form()->indexPathForField(field<FieldText>(u"userfield[field2]"_s).get()))));
    picture(u"registration-refused-field-focused.png"_s);
    typeKeys(u"Aveiro"_s);
    EXPECT_EQ(location->text(), u"Aveiro"_s);
    tapSubmit();
    EXPECT_EQ(lastRequest(u"register_addmember"_s).field(u"userfield[field2]"_s), u"Aveiro");
    ASSERT_NE(home(), nullptr);
    EXPECT_EQ(CurrentUser::currentUser()->userid(), forum().memberId(u"newbie"_s));
}

TEST_F(RegistrationScenarioTest, AGuestWhoSignsUpFromHomeIsSignedInOnceAndTheFeedAskedForOnce)
{
    LoginController* login = launchToLogin();
    ASSERT_NE(login, nullptr);
    tap(login->skipNowButton());
    HomeController* guestHome = home();
    ASSERT_NE(guestHome, nullptr);
    tap(named<GradientButton>(guestHome, "signUp"));
    ASSERT_NE(signUpScreen(), nullptr);
    fillTheForm(u"newbie"_s, u"pedal-on"_s);
    chooseDate(QDate(1979, 11, 30));
    forum().clearLog();
    tapSubmit();

    // The member's own session, the sign-in, then one feed for the home
    // that greets them; the guest's home under the form asks for nothing.
    HomeController* memberHome = home();
    ASSERT_NE(memberHome, nullptr);
    settleAndFinish();
    EXPECT_EQ(named<Button>(memberHome, "welcome")->titleForState(ControlState::Normal), u"Welcome, newbie"_s);
    const QStringList log = apiLog();
    EXPECT_EQ(log.mid(0, 3), (QStringList{u"register_addmember"_s, u"api_init"_s, u"login_login"_s}));
    EXPECT_EQ(log.count(u"api_getnewtop"_s), 1) << log.join(u',').toStdString();
    EXPECT_EQ(log.count(u"api_init"_s), 1);
    EXPECT_FALSE(named<PaginableTableView>(memberHome, "news")->rowsForSection(0).isEmpty());
    const TestForumRequest feed = lastRequest(u"api_getnewtop"_s);
    EXPECT_EQ(feed.memberId, forum().memberId(u"newbie"_s));
}

#include "app/screens/LoginForm.h"

#include "app/session/AppContext.h"

#include "app/config/Customizer.h"
#include "app/session/CurrentUser.h"
#include "app/widgets/GradientButton.h"

#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextField.h"

#include "platform/foundation/Localized.h"

namespace {

// The nib's layout, in points of a 460-point view (no navigation bar).
constexpr qreal kFormTopWithout = 36;
constexpr qreal kRowsTop = 136;
constexpr qreal kLoginTop = 250;
constexpr qreal kNoAccountTop = 310;
constexpr qreal kRegisterTop = 334;
constexpr qreal kSkipTopWithRegistration = 392;
constexpr qreal kSkipTopWithout = 312;

}  // namespace

LoginForm::LoginForm(AppContext& context, const QRectF& frame) : View(frame), m_context(context)
{
    const QColor text = Customizer::getInstance().colorForKey(kColorTextNotification);
    setBackgroundColor(Qt::transparent);
    setOpaque(false);

    m_logo = new ImageView(QRectF(128, 30, 64, 64));
    addSubview(m_logo);
    auto* name = new Label(QRectF(20, 98, 280, 30));
    name->setText(Customizer::getInstance().appLabel());
    name->setFont(Font::boldSystemFontOfSize(24));
    name->setTextColor(text);
    name->setTextAlignment(TextAlignment::Center);
    name->setBackgroundColor(Qt::transparent);
    addSubview(name);

    m_table = new TableView(QRectF(0, kRowsTop, 320, 108), TableViewStyle::Grouped);
    m_table->setScrollEnabled(false);
    m_table->setBounces(false);
    addSubview(m_table);

    m_loginButton = new GradientButton(QRectF(20, kLoginTop, 280, 44), GradientButton::Archive{});
    m_loginButton->titleLabel()->setFont(Font::boldSystemFontOfSize(18));
    addSubview(m_loginButton);

    m_noAccountLabel = new Label(QRectF(20, kNoAccountTop, 280, 20));
    m_noAccountLabel->setFont(Font::systemFontOfSize(14));
    m_noAccountLabel->setTextAlignment(TextAlignment::Center);
    m_noAccountLabel->setBackgroundColor(Qt::transparent);
    addSubview(m_noAccountLabel);

    m_registerButton = new GradientButton(QRectF(20, kRegisterTop, 280, 44));
    m_registerButton->titleLabel()->setFont(Font::boldSystemFontOfSize(17));
    addSubview(m_registerButton);

    m_skipNowButton = new Button(QRectF(60, kSkipTopWithRegistration, 200, 32), ButtonType::Custom);
    m_skipNowButton->titleLabel()->setFont(Font::boldSystemFontOfSize(16));
    m_skipNowButton->setBackgroundColor(Qt::transparent);
    addSubview(m_skipNowButton);
}

void LoginForm::showLogo(const QString& imageName)
{
    m_logo->setImageNamed(imageName);
}

void LoginForm::load(TextFieldDelegate* fieldDelegate)
{
    m_fieldDelegate = fieldDelegate;
    m_rows = {{localized("login_username"), QStringLiteral("NO")}, {localized("login_password"), QStringLiteral("YES")}};
    m_table->setBackgroundColor(Qt::transparent);
    m_table->setOpaque(false);
    m_table->setDataSource(this);
    m_table->reloadData();
    m_registerButton->useRedDeleteStyle();

    const QColor text = Customizer::getInstance().colorForKey(kColorTextNotification);
    m_loginButton->setTitle(localized("login"), ControlState::Normal);
    m_loginButton->setTitleColor(Qt::white, ControlState::Normal);
    m_loginButton->setTitleColor(Qt::white, ControlState::Highlighted);
    m_noAccountLabel->setText(localized("login_no_account"));
    m_noAccountLabel->setTextColor(text);
    m_noAccountLabel->setHidden(true);
    m_registerButton->setTitle(localized("login_crate_account"), ControlState::Normal);
    m_registerButton->setTitleColor(Qt::white, ControlState::Normal);
    m_registerButton->setTitleColor(Qt::white, ControlState::Highlighted);
    m_registerButton->setHidden(true);
    m_skipNowButton->setTitle(localized("login_skipfornow"), ControlState::Normal);
    m_skipNowButton->setTitleColor(text, ControlState::Normal);
    m_skipNowButton->setTitleColor(text, ControlState::Highlighted);
    QColor waiting = text;
    waiting.setAlphaF(0.4f);
    m_skipNowButton->setTitleColor(waiting, ControlState::Disabled);
    // "Skip" waits for the forum's features, which decide the form's layout.
    m_skipNowButton->setEnabled(false);
}

void LoginForm::placeOptionalRows(bool registrationOffered)
{
    m_registerButton->setHidden(!registrationOffered);
    m_noAccountLabel->setHidden(!registrationOffered);
    QRectF skip = m_skipNowButton->frame();
    skip.moveTop(registrationOffered ? kSkipTopWithRegistration : kSkipTopWithout);
    m_skipNowButton->setFrame(skip);
    QRectF form = frame();
    form.moveTop(registrationOffered ? 0 : kFormTopWithout);
    setFrame(form);
}

int LoginForm::numberOfRowsInSection(TableView*, int)
{
    return int(m_rows.size());
}

TableViewCell* LoginForm::cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    const QString identifier = QStringLiteral("%1:%2").arg(indexPath.section).arg(indexPath.row);
    if (TableViewCell* reused = tableView->dequeueReusableCellWithIdentifier(identifier))
        return reused;
    const QStringList& row = m_rows.at(indexPath.row);
    auto* cell = new TableViewCell(TableViewCellStyle::Default, identifier);
    cell->setSelectionStyle(TableViewCellSelectionStyle::None);
    auto* field = new TextField(QRectF(25, 10, 270, 25));
    field->setAdjustsFontSizeToFitWidth(true);
    field->setTextColor(Qt::black);
    field->setFont(Font::systemFontOfSize(17));
    field->setPlaceholder(row.at(0));
    field->setAutocorrectionEnabled(false);
    field->setAutocapitalizationEnabled(false);
    field->setTextAlignment(TextAlignment::Left);
    field->setKeyboardType(KeyboardType::Default);
    field->setReturnKeyType(indexPath.row + 1 < m_rows.size() ? ReturnKeyType::Next : ReturnKeyType::Done);
    field->setSecureTextEntry(row.at(1) != u"NO");
    field->setTag(indexPath.row + 1);
    field->setClearButtonMode(TextFieldViewMode::WhileEditing);
    // A member whose session could not be renewed finds the name kept.
    const CurrentUserPtr user = m_context.currentUser();
    field->setText(indexPath.row == 0 && user->userid() < 1 ? user->username() : QString());
    field->setDelegate(m_fieldDelegate.get());
    cell->addSubview(field);
    return cell;
}

TextField* LoginForm::fieldWithTag(int tag) const
{
    return m_table ? qobject_cast<TextField*>(m_table->viewWithTag(tag)) : nullptr;
}

void LoginForm::takeTypedText()
{
    if (const TextField* name = fieldWithTag(kNameTag))
        m_userName = name->text();
    if (const TextField* password = fieldWithTag(kPasswordTag))
        m_userPassword = password->text();
}

void LoginForm::keepTypedText(const TextField* field)
{
    if (field->tag() == kNameTag)
        m_userName = field->text();
    else if (field->tag() == kPasswordTag)
        m_userPassword = field->text();
}

void LoginForm::clear()
{
    for (const int tag : {kNameTag, kPasswordTag}) {
        if (TextField* field = fieldWithTag(tag))
            field->setText(QString());
    }
    m_userName = QString();
    m_userPassword = QString();
}

#pragma once

#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/View.h"

#include "platform/foundation/WeakRef.h"

#include <QList>
#include <QStringList>

class AppContext;
class Button;
class GradientButton;
class ImageView;
class Label;
class TableView;
class TextField;
class TextFieldDelegate;

// The sign-in form: the logo and the forum's name, the name and password
// rows, the sign-in button, the offer to register and "skip for now". It
// keeps what was typed; the screen wires the buttons and the fields' delegate.
class LoginForm : public View, public TableViewDataSource {
    Q_OBJECT
public:
    // The tags of the two fields, in the order they are filled.
    static constexpr int kNameTag = 1;
    static constexpr int kPasswordTag = 2;

    // The form for the context's user; the context outlives it.
    LoginForm(AppContext& context, const QRectF& frame);

    // The logo, set once the rest of the screen is built (it decodes meanwhile).
    void showLogo(const QString& imageName);
    // The rows, their fields told to the delegate (not owned), and the
    // buttons' titles and colours.
    void load(TextFieldDelegate* fieldDelegate);
    // Where the optional rows stand, with registration offered or not: the
    // form stands lower without them, so that it keeps to the middle.
    void placeOptionalRows(bool registrationOffered);

    TableView* table() const { return m_table; }
    TextField* fieldWithTag(int tag) const;
    int fieldCount() const { return int(m_rows.size()); }
    GradientButton* loginButton() const { return m_loginButton; }
    GradientButton* registerButton() const { return m_registerButton; }
    Label* noAccountLabel() const { return m_noAccountLabel; }
    Button* skipNowButton() const { return m_skipNowButton; }

    // The typed texts: read from both fields, or kept from the one whose
    // editing ended.
    void takeTypedText();
    void keepTypedText(const TextField* field);
    const QString& userName() const { return m_userName; }
    const QString& userPassword() const { return m_userPassword; }
    // Empties the fields and forgets what was typed, the password first of all.
    void clear();

    int numberOfRowsInSection(TableView* tableView, int section) override;
    TableViewCell* cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;

private:
    AppContext& m_context;
    ImageView* m_logo = nullptr;
    TableView* m_table = nullptr;
    GradientButton* m_loginButton = nullptr;
    Label* m_noAccountLabel = nullptr;
    GradientButton* m_registerButton = nullptr;
    Button* m_skipNowButton = nullptr;
    // Per row: the placeholder and whether the text is masked ("YES"/"NO").
    QList<QStringList> m_rows;
    WeakRef<TextFieldDelegate> m_fieldDelegate;
    QString m_userName;
    QString m_userPassword;
};

#include "AppTest.h"

#include "app/config/AlertViewUtil.h"
#include "app/config/ConnectionError.h"
#include "app/config/ErrorMessages.h"

#include "platform/foundation/Bundle.h"

using ErrorMessagesTest = AppTest;
using ConnectionErrorTest = AppTest;

TEST_F(ErrorMessagesTest, TextsOfCodesGivenAsTextOrList)
{
    const QString badlogin = ErrorMessages::errorForCode(Value(QStringLiteral("badlogin")));
    EXPECT_FALSE(badlogin.isEmpty());
    EXPECT_NE(badlogin, QStringLiteral("badlogin"));
    EXPECT_EQ(ErrorMessages::errorForCode(Value(ValueList{Value(QStringLiteral("badlogin")), Value(QStringLiteral("x"))})),
              badlogin);
    EXPECT_TRUE(ErrorMessages::errorForCode(Value(ValueList{})).isNull());
    EXPECT_TRUE(ErrorMessages::errorForCode(Value(QStringLiteral("redirect_login"))).isNull());
    EXPECT_TRUE(ErrorMessages::errorForCode(Value(42)).isNull());
    EXPECT_TRUE(ErrorMessages::errorForCode(Value()).isNull());
    EXPECT_TRUE(ErrorMessages::errorForCode(Value::null()).isNull());
}

TEST_F(ErrorMessagesTest, EveryCodeHasItsOwnTranslation)
{
    const QStringList& codes = ErrorMessages::codes();
    ASSERT_EQ(codes.size(), 55);
    EXPECT_EQ(codes.first(), QStringLiteral("alreadyregistered"));
    EXPECT_EQ(codes.last(), QStringLiteral("blog_category_entry_limit"));
    EXPECT_EQ(QSet<QString>(codes.begin(), codes.end()).size(), 55);
    for (const QString& code : codes)
        EXPECT_NE(Bundle::main().localizedString(code), code) << code.toStdString();
}

TEST_F(ErrorMessagesTest, NoInternetNamesTheApplication)
{
    const QString text = ErrorMessages::errorForCode(Value(QStringLiteral("nointernet")));
    EXPECT_TRUE(text.contains(QStringLiteral("mu Forum"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("%@")));
    EXPECT_EQ(Bundle::main().localizedString(QStringLiteral("nointernet")).count(QStringLiteral("%@")), 1);
}

TEST_F(ErrorMessagesTest, EveryInvalidSessionHashLookupSignsOut)
{
    int signOuts = 0;
    ErrorMessages::setInvalidSessionHashHandler([&] {
        ++signOuts;
        // The sign-out itself reads the same code; that must not recurse.
        ErrorMessages::errorForCode(Value(QStringLiteral("invalid_sessionhash")));
    });
    EXPECT_FALSE(ErrorMessages::errorForCode(Value(QStringLiteral("invalid_sessionhash"))).isEmpty());
    ErrorMessages::errorForCode(Value(ValueList{Value(QStringLiteral("invalid_sessionhash"))}));
    ErrorMessages::errorForCode(Value(QStringLiteral("badlogin")));
    EXPECT_EQ(signOuts, 2);
    ErrorMessages::setInvalidSessionHashHandler(nullptr);
    ErrorMessages::errorForCode(Value(QStringLiteral("invalid_sessionhash")));
    EXPECT_EQ(signOuts, 2);
}

TEST_F(ConnectionErrorTest, OneAlertPerTextOnScreen)
{
    ConnectionError& presenter = ConnectionError::getInstance();
    const int before = AlertView::shownCount();

    ConnectionError::showMessage(Error::withMessage(QStringLiteral("No connection")));
    presenter.message(Error::withMessage(QStringLiteral("No connection")));
    EXPECT_EQ(AlertView::shownCount(), before + 1);
    EXPECT_TRUE(AlertViewUtil::isAlertBeingShown());

    const std::shared_ptr<AlertView> alert = AlertView::visibleAlerts().last();
    EXPECT_TRUE(alert->title().isNull());
    EXPECT_EQ(alert->message(), QStringLiteral("No connection"));
    EXPECT_EQ(alert->buttonTitles(), QStringList{QStringLiteral("OK")});
    EXPECT_EQ(alert->delegate(), &presenter);

    presenter.message(Error::withMessage(QStringLiteral("Forum closed")));
    EXPECT_EQ(AlertView::shownCount(), before + 2);
    EXPECT_EQ(presenter.lastError().domain(), QStringLiteral("Forum closed"));

    // Dismissing any alert forgets the last error, so its text may show again.
    alert->dismissWithClickedButtonIndex(0);
    EXPECT_FALSE(presenter.lastError().isSet());
    presenter.message(Error::withMessage(QStringLiteral("Forum closed")));
    EXPECT_EQ(AlertView::shownCount(), before + 3);

    for (const auto& shown : AlertView::visibleAlerts())
        shown->dismissWithClickedButtonIndex(0);
    EXPECT_FALSE(AlertViewUtil::isAlertBeingShown());

    // An alert closed without a button tells nobody; its text shows again
    // the next time all the same.
    presenter.message(Error::withMessage(QStringLiteral("No connection")));
    AlertView::visibleAlerts().last()->dismissWithoutButton();
    presenter.message(Error::withMessage(QStringLiteral("No connection")));
    EXPECT_EQ(AlertView::shownCount(), before + 5);
    EXPECT_TRUE(AlertViewUtil::isAlertBeingShown());
}

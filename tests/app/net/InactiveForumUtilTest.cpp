#include "support/SessionDouble.h"

#include "TestForum.h"
#include "app/net/InactiveForumUtil.h"
#include "app/net/JSONHTTPRequest.h"
#include "platform/foundation/AlertView.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/DeviceInfo.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {
Value list(std::initializer_list<Value> values)
{
    return Value(ValueList(values));
}
}  // namespace

TEST(InactiveForumUtil, OnlyAListStartingWithBbclosedMeansClosed)
{
    InactiveForumUtil& util = InactiveForumUtil::instance();
    const Value bbclosed(QStringLiteral("bbclosed"));
    for (const Value& open : {bbclosed, list({}), list({Value(1), bbclosed}), list({Value(QStringLiteral("other"))}),
                              Value()}) {
        EXPECT_TRUE(util.isForumActive(open)) << open.debugText().toStdString();
    }
    EXPECT_FALSE(AlertView::isAnyAlertShown());

    // The message only when it is a text; one alert however often it is said.
    EXPECT_FALSE(util.isForumActive(list({bbclosed, Value(42)})));
    EXPECT_FALSE(util.isForumActive(list({bbclosed, Value(QStringLiteral("Back soon"))})));
    ASSERT_EQ(AlertView::shownCount(), 1);
    const std::shared_ptr<AlertView> alert = AlertView::visibleAlerts()[0];
    EXPECT_TRUE(alert->message().isEmpty());
    EXPECT_TRUE(alert->title().isEmpty());
    EXPECT_EQ(alert->buttonTitles(), QStringList{QStringLiteral("OK")});

    // Dismissing leads back to the login screen, when the application says how.
    alert->dismissWithClickedButtonIndex(0);
    int returned = 0;
    InactiveForumUtil::setReturnToLoginHandler([&] { ++returned; });
    EXPECT_FALSE(util.isForumActive(list({bbclosed})));
    AlertView::visibleAlerts()[0]->dismissWithClickedButtonIndex(0);
    EXPECT_EQ(returned, 1);
    InactiveForumUtil::setReturnToLoginHandler(nullptr);
}

TEST(InactiveForumUtil, TheProbeAsksTheForum)
{
    TestForum forum;
    ASSERT_TRUE(forum.start(0));
    Bundle::main().setInfoValue(QStringLiteral("ZtServerBaseUrl"), Value(forum.baseUrl()));
    forum.registerClient(QStringLiteral("7"), QStringLiteral("sec"), QStringLiteral("tok1"));
    SessionDouble session;
    session.setCredentials(QStringLiteral("tok1"), QStringLiteral("7"), QStringLiteral("sec"));
    const auto settled = [&](int count) {
        return TestSupport::waitFor([&] {
            return forum.requests(QStringLiteral("member")).size() == count
                   && HTTPRequestAsyncronic::getPendingRequests() == 0;
        });
    };

    InactiveForumUtil::instance().checkIfForumIsActive();
    ASSERT_TRUE(settled(1));
    const TestForumRequest probe = forum.requests(QStringLiteral("member"))[0];
    EXPECT_EQ(probe.httpMethod, u"POST");
    EXPECT_TRUE(probe.signatureValid);
    QStringList names;
    for (const auto& [name, value] : probe.formPairs)
        names.append(name);
    EXPECT_EQ(names, (QStringList{QStringLiteral("clientname"), QStringLiteral("clientversion"),
                                  QStringLiteral("platformname"), QStringLiteral("platformversion"),
                                  QStringLiteral("uniqueid")}));
    EXPECT_EQ(probe.field(QStringLiteral("clientname")), u"mu Mobile iOS");
    EXPECT_EQ(probe.field(QStringLiteral("clientversion")), u"1.0");
    EXPECT_EQ(probe.field(QStringLiteral("platformname")), DeviceInfo::model());
    EXPECT_EQ(probe.field(QStringLiteral("platformversion")), DeviceInfo::systemVersion());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$"))
                    .match(probe.field(QStringLiteral("uniqueid")))
                    .hasMatch());
    EXPECT_FALSE(AlertView::isAnyAlertShown());

    // Closed: the request's own check shows the one alert.
    forum.closeForum(QStringLiteral("Upgrading"));
    InactiveForumUtil::instance().checkIfForumIsActive();
    ASSERT_TRUE(settled(2));
    ASSERT_EQ(AlertView::shownCount(), 1);
    EXPECT_EQ(AlertView::visibleAlerts()[0]->message(), u"Upgrading");
    AlertView::visibleAlerts()[0]->dismissWithClickedButtonIndex(0);

    // A closed answer at the top level reaches the probe's own handler.
    forum.openForum();
    forum.setAnswer(QStringLiteral("member"),
                    QJsonObject{{QStringLiteral("errormessage"),
                                 QJsonArray{QStringLiteral("bbclosed"), QStringLiteral("Top level")}}},
                    1);
    InactiveForumUtil::instance().checkIfForumIsActive();
    ASSERT_TRUE(settled(3));
    ASSERT_EQ(AlertView::shownCount(), 2);
    EXPECT_EQ(AlertView::visibleAlerts()[0]->message(), u"Top level");
    forum.stop();
}

#include "AppTest.h"

#include "Answers.h"
#include "app/net/InactiveForumUtil.h"
#include "platform/foundation/DeviceInfo.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

using InactiveForumUtilTest = AppTest;

TEST_F(InactiveForumUtilTest, OnlyAListStartingWithBbclosedMeansClosedAndTheAlertLeadsToTheLoginScreen)
{
    InactiveForumUtil& util = InactiveForumUtil::instance();
    for (const char* open : {R"(["other", "bbclosed"])", R"([])", R"([1, "bbclosed"])", R"({"a": "bbclosed"})"})
        EXPECT_TRUE(util.isForumActive(json(open))) << open;
    EXPECT_TRUE(util.isForumActive(Value(QStringLiteral("bbclosed"))));
    EXPECT_TRUE(shownAlerts().isEmpty());

    // The message only when it is a text; one alert however often it is said.
    EXPECT_FALSE(util.isForumActive(json(R"(["bbclosed", 42])")));
    EXPECT_FALSE(util.isForumActive(json(R"(["bbclosed", "Back soon"])")));
    ASSERT_EQ(shownAlerts().size(), 1);
    EXPECT_TRUE(shownAlerts()[0]->message().isEmpty());
    EXPECT_TRUE(shownAlerts()[0]->title().isEmpty());
    EXPECT_EQ(shownAlerts()[0]->buttonTitles(), QStringList{QStringLiteral("OK")});

    int returned = 0;
    InactiveForumUtil::setReturnToLoginHandler([&] { ++returned; });
    shownAlerts()[0]->dismissWithClickedButtonIndex(0);
    EXPECT_EQ(returned, 1);
}

TEST_F(InactiveForumUtilTest, TheProbeAsksTheForumWithTheClientsIdentity)
{
    openGuestSession();
    forum().clearLog();
    const auto probed = [&](int count) {
        return waitFor([&] { return forum().requests(QStringLiteral("member")).size() == count; }) && settle();
    };

    InactiveForumUtil::instance().checkIfForumIsActive();
    ASSERT_TRUE(probed(1));
    const TestForumRequest probe = lastRequest(QStringLiteral("member"));
    EXPECT_EQ(probe.httpMethod, u"POST");
    EXPECT_TRUE(probe.signatureValid);
    QStringList names;
    for (const auto& [name, value] : probe.formPairs)
        names.append(name);
    EXPECT_EQ(names, QStringLiteral("clientname clientversion platformname platformversion uniqueid").split(u' '));
    EXPECT_EQ(probe.field(QStringLiteral("clientname")), u"mu Mobile iOS");
    EXPECT_EQ(probe.field(QStringLiteral("clientversion")), u"1.0");
    EXPECT_EQ(probe.field(QStringLiteral("platformname")), DeviceInfo::model());
    EXPECT_EQ(probe.field(QStringLiteral("platformversion")), DeviceInfo::systemVersion());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$"))
                    .match(probe.field(QStringLiteral("uniqueid")))
                    .hasMatch());
    EXPECT_TRUE(shownAlerts().isEmpty());

    // Closed: the request's own check shows the one alert.
    forum().closeForum(QStringLiteral("Upgrading"));
    InactiveForumUtil::instance().checkIfForumIsActive();
    ASSERT_TRUE(probed(2));
    EXPECT_EQ(alertMessages(), QStringList{QStringLiteral("Upgrading")});
    dismissAlerts();

    // A closed answer at the top level reaches the probe's own handler.
    forum().openForum();
    forum().setAnswer(QStringLiteral("member"),
                      QJsonObject{{QStringLiteral("errormessage"),
                                   QJsonArray{QStringLiteral("bbclosed"), QStringLiteral("Top level")}}},
                      1);
    InactiveForumUtil::instance().checkIfForumIsActive();
    ASSERT_TRUE(probed(3));
    EXPECT_EQ(alertMessages(), (QStringList{QStringLiteral("Upgrading"), QStringLiteral("Top level")}));
}

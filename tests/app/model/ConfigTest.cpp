#include "AppTest.h"

#include "Answers.h"

#include "app/model/Config.h"
#include "services/SocialRequest.h"
#include "platform/foundation/KeyedArchive.h"
#include "platform/foundation/ManualClock.h"
#include "platform/foundation/UserDefaults.h"

using ConfigTest = AppTest;

TEST_F(ConfigTest, FirstStartIsEmptyAndTheNextStartRestoresWhatWasSaved)
{
    Config& config = Config::getInstance();
    EXPECT_EQ(&config, &Config::getInstance());
    EXPECT_EQ(config.featuresInt(), 0);
    EXPECT_TRUE(config.bbtitle().isNull());
    EXPECT_TRUE(config.show().isEmpty());
    EXPECT_TRUE(config.contentTypes().isAbsent());
    EXPECT_EQ(config.bbkey(), QStringLiteral("Qw7rTz2k"));

    config.applyApiInit(json(R"({"apiversion": "6", "bbtitle": "Board", "bburl": "http://board.example",
        "bbactive": 1, "murmoraversion": "4.2.0", "bbclosedreason": "Upgrade", "forumhome": "forum",
        "show": {"b": true, "a": "1", "off": false, "gone": null},
        "features": {"blogenabled": true, "taggingenabled": "yes"}, "contenttypes": {"Forum": 3}})"));
    config.setPaidsubscription(true);
    config.setSocialName(QStringLiteral("Ann"));
    config.save();
    UserDefaults::standard().reload();
    // The archive alone must do: the separate copy of the content types is gone.
    UserDefaults::standard().removeObjectForKey(QStringLiteral("contentTypes"));
    const QByteArray stored = UserDefaults::standard().objectForKey(QStringLiteral("config")).bytes();
    EXPECT_EQ(KeyedArchive::unarchive(stored)->keys(),
              QStringLiteral("apiversion bbactive bbtitle bburl bbkey show murmoraversion bbclosedreason forumhome "
                             "contentTypes featuresInt")
                  .split(u' '));

    Config::resetInstance();
    const Config& restored = Config::getInstance();
    EXPECT_EQ(restored.apiversion(), 6);
    EXPECT_TRUE(restored.bbactive());
    EXPECT_FALSE(restored.isPaidSubscription());
    EXPECT_EQ(restored.bbtitle(), QStringLiteral("Board"));
    EXPECT_EQ(restored.bburl(), QStringLiteral("http://board.example"));
    EXPECT_EQ(restored.show(), (QSet<QString>{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(restored.murmoraversion(), QStringLiteral("4.2.0"));
    EXPECT_EQ(restored.bbclosedreason(), QStringLiteral("Upgrade"));
    EXPECT_EQ(restored.forumhome(), QStringLiteral("forum"));
    EXPECT_EQ(restored.contentType(Config::ContentForum), Value(3));
    EXPECT_EQ(restored.featuresInt(), Config::BlogEnabled | Config::TaggingEnabled);
    EXPECT_TRUE(restored.socialName().isNull());
}

TEST_F(ConfigTest, FeatureBits)
{
    Config config;
    config.setFeatures(json(R"({"blogenabled": true, "pmsenabled": "1", "searchesenabled": 0,
        "friendsenabled": null, "taggingenabled": "yes", "paidsubs": true})"));
    EXPECT_EQ(config.featuresInt(), 1 | 4 | 1024);
    EXPECT_FALSE(config.isFeatureEnabled(0));
    EXPECT_TRUE(config.isFeatureEnabled(Config::CmsEnabled | Config::PmsEnabled));
    EXPECT_FALSE(config.isFeatureEnabled(Config::CmsEnabled | Config::SearchesEnabled));

    // A missing key clears its bit; bits of no known key are left alone.
    config.setFeaturesInt(config.featuresInt() | 4096);
    config.setFeatures(json(R"({"visitor_messagingenabled": 1})"));
    EXPECT_EQ(config.featuresInt(), 256 | 4096);
    config.setFeatures(Value(QStringLiteral("all")));
    EXPECT_EQ(config.featuresInt(), 0);
}

TEST_F(ConfigTest, ContentTypes)
{
    Config config;
    EXPECT_TRUE(config.contentType(Config::ContentPost).isAbsent());
    config.setContentTypes(json(R"({"Post": 7, "Album": "12"})"));
    EXPECT_EQ(config.contentType(3), Value(7));
    EXPECT_EQ(config.contentType(8), Value(QStringLiteral("12")));
    EXPECT_TRUE(config.contentType(1).isAbsent());
    for (int kind : {0, 9, -1}) {
        EXPECT_TRUE(config.contentType(kind).isString());
        EXPECT_FALSE(config.contentType(kind).string().isNull());
        EXPECT_TRUE(config.contentType(kind).string().isEmpty());
    }
    // The copy in the user defaults serves an object that has none.
    EXPECT_EQ(Config().contentType(3), Value(7));
}

TEST_F(ConfigTest, SocialLoginAsksForTheNameAndTheLastRecordNamesIt)
{
    UserDefaults& defaults = UserDefaults::standard();
    defaults.setObject(QStringLiteral("SocialUserId"), Value(quint64(10000000000123ULL)));
    defaults.setObject(QStringLiteral("SocialSessionKey"), Value(QStringLiteral("k")));
    Config& config = Config::getInstance();
    const std::shared_ptr<SocialSession> session = config.socialSession();
    ASSERT_TRUE(session);
    EXPECT_EQ(config.socialSession(), session);
    EXPECT_TRUE(session->delegates().contains(&config));
    const std::optional<SocialRequest::Call> call = SocialRequest::lastCall();
    ASSERT_TRUE(call.has_value());
    EXPECT_EQ(call->method, QStringLiteral("users.getInfo"));
    EXPECT_EQ(call->params, (ValueDict{{QStringLiteral("uids"), Value(QStringLiteral("10000000000123"))},
                                       {QStringLiteral("fields"), Value(QStringLiteral("first_name,last_name"))}}));
    // No social network answers here: the failure comes, is let go of, and
    // shows nothing; the name stays unknown.
    ASSERT_NE(config.pendingSocialRequest(), nullptr);
    clock()->advance(1);
    EXPECT_EQ(config.pendingSocialRequest(), nullptr);
    EXPECT_TRUE(config.socialName().isNull());
    EXPECT_TRUE(alertMessages().isEmpty());

    const auto load = [&config](const char* records) {
        config.didLoad(nullptr, json(records));
        return config.socialName();
    };
    EXPECT_EQ(load(R"([{"first_name": "Ann", "last_name": "Lee"}])"), QStringLiteral("Ann Lee"));
    EXPECT_EQ(load(R"([{"first_name": "Ann"}])"), QStringLiteral("Ann"));
    EXPECT_EQ(load(R"([{"first_name": null, "last_name": "Lee"}])"), QStringLiteral("Lee"));
    EXPECT_EQ(load(R"([{"first_name": "", "last_name": "Lee"}])"), QStringLiteral("Lee"));
    const QString empty = load(R"([{}])");
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(empty.isNull());
    EXPECT_EQ(load(R"([{"first_name": "Ann"}, {"first_name": "Bo", "last_name": "Ek"}])"), QStringLiteral("Bo Ek"));
    config.sessionDidLogout(nullptr);
    EXPECT_TRUE(config.socialName().isNull());
}

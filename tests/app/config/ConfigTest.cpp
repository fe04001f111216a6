#include "app/config/Config.h"
#include "neighbours/clients/SocialRequest.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/KeyedArchive.h"
#include "platform/foundation/UserDefaults.h"

#include <gtest/gtest.h>

namespace {

ValueDict record(const Value& first, const Value& last)
{
    ValueDict r;
    if (!first.isAbsent())
        r.insert(QStringLiteral("first_name"), first);
    if (!last.isAbsent())
        r.insert(QStringLiteral("last_name"), last);
    return r;
}

TEST(ConfigTest, FirstStartIsEmpty)
{
    Config& config = Config::getInstance();
    EXPECT_EQ(&config, &Config::getInstance());
    EXPECT_EQ(config.featuresInt(), 0);
    for (int bit = 1; bit <= 1024; bit <<= 1)
        EXPECT_FALSE(config.isFeatureEnabled(bit));
    EXPECT_TRUE(config.bbtitle().isNull());
    EXPECT_TRUE(config.bburl().isNull());
    EXPECT_TRUE(config.murmoraversion().isNull());
    EXPECT_TRUE(config.bbclosedreason().isNull());
    EXPECT_TRUE(config.forumhome().isNull());
    EXPECT_TRUE(config.socialName().isNull());
    EXPECT_TRUE(config.show().isEmpty());
    EXPECT_TRUE(config.contentTypes().isAbsent());
    EXPECT_EQ(config.bbkey(), QStringLiteral("Qw7rTz2k"));
}

TEST(ConfigTest, FeatureBits)
{
    Config config;
    config.setFeatures(Value(ValueDict{{QStringLiteral("blogenabled"), Value(true)},
                                       {QStringLiteral("pmsenabled"), Value(QStringLiteral("1"))},
                                       {QStringLiteral("searchesenabled"), Value(0)},
                                       {QStringLiteral("friendsenabled"), Value::null()},
                                       {QStringLiteral("taggingenabled"), Value(QStringLiteral("yes"))},
                                       {QStringLiteral("paidsubs"), Value(true)}}));
    EXPECT_EQ(config.featuresInt(), 1 | 4 | 1024);
    EXPECT_FALSE(config.isFeatureEnabled(0));
    EXPECT_TRUE(config.isFeatureEnabled(Config::CmsEnabled | Config::PmsEnabled));
    EXPECT_FALSE(config.isFeatureEnabled(Config::CmsEnabled | Config::SearchesEnabled));

    // A missing key clears its bit; bits of no known key are left alone.
    config.setFeaturesInt(config.featuresInt() | 4096);
    config.setFeatures(Value(ValueDict{{QStringLiteral("visitor_messagingenabled"), Value(1)}}));
    EXPECT_EQ(config.featuresInt(), 256 | 4096);

    config.setFeatures(Value(QStringLiteral("all")));
    EXPECT_EQ(config.featuresInt(), 0);
}

TEST(ConfigTest, ContentTypes)
{
    Config config;
    EXPECT_TRUE(config.contentType(Config::ContentPost).isAbsent());

    const ValueDict types{{QStringLiteral("Post"), Value(7)}, {QStringLiteral("Album"), Value(QStringLiteral("12"))}};
    config.setContentTypes(Value(types));
    EXPECT_EQ(config.contentType(3), Value(7));
    EXPECT_EQ(config.contentType(8), Value(QStringLiteral("12")));
    EXPECT_TRUE(config.contentType(1).isAbsent());
    for (int kind : {0, 9, -1}) {
        EXPECT_TRUE(config.contentType(kind).isString());
        EXPECT_TRUE(config.contentType(kind).string().isEmpty());
        EXPECT_FALSE(config.contentType(kind).string().isNull());
    }

    // The copy in the user defaults serves an object that has none.
    EXPECT_EQ(UserDefaults::standard().objectForKey(QStringLiteral("contentTypes")), Value(types));
    Config other;
    EXPECT_EQ(other.contentType(3), Value(7));
}

TEST(ConfigTest, ArchiveRoundTripKeepsSwitchesAndContentTypes)
{
    Config& config = Config::getInstance();
    config.setApiversion(6);
    config.setBbactive(true);
    config.setPaidsubscription(true);
    config.setBbtitle(QStringLiteral("Board"));
    config.setBburl(QStringLiteral("http://board.example"));
    config.setShow({QStringLiteral("b"), QStringLiteral("a")});
    config.setMurmoraversion(QStringLiteral("4.2.0"));
    config.setBbclosedreason(QStringLiteral("Upgrade"));
    config.setForumhome(QStringLiteral("forum"));
    config.setContentTypes(Value(ValueDict{{QStringLiteral("Forum"), Value(3)}}));
    config.setFeaturesInt(1029);
    config.setSocialName(QStringLiteral("Ann"));
    config.save();

    UserDefaults::standard().reload();
    UserDefaults::standard().removeObjectForKey(QStringLiteral("contentTypes"));
    const QByteArray stored = UserDefaults::standard().objectForKey(QStringLiteral("config")).bytes();

    const std::optional<ValueDict> root = KeyedArchive::unarchive(stored);
    ASSERT_TRUE(root.has_value());
    const QStringList archiveKeys = QStringLiteral("apiversion bbactive bbtitle bburl bbkey show murmoraversion "
                                                   "bbclosedreason forumhome contentTypes featuresInt")
                                        .split(u' ');
    EXPECT_EQ(root->keys(), archiveKeys);

    const std::shared_ptr<Config> restored = Model::unarchive<Config>(stored);
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->apiversion(), 6);
    EXPECT_TRUE(restored->bbactive());
    EXPECT_FALSE(restored->isPaidSubscription());
    EXPECT_EQ(restored->bbtitle(), QStringLiteral("Board"));
    EXPECT_EQ(restored->bburl(), QStringLiteral("http://board.example"));
    EXPECT_EQ(restored->show(), (QSet<QString>{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(restored->murmoraversion(), QStringLiteral("4.2.0"));
    EXPECT_EQ(restored->bbclosedreason(), QStringLiteral("Upgrade"));
    EXPECT_EQ(restored->forumhome(), QStringLiteral("forum"));
    EXPECT_EQ(restored->contentType(Config::ContentForum), Value(3));
    EXPECT_EQ(restored->featuresInt(), 1029);
    EXPECT_TRUE(restored->socialName().isNull());
}

TEST(ConfigTest, SharedInstanceIsRestoredFromTheStore)
{
    Config saved;
    saved.setBbtitle(QStringLiteral("Stored board"));
    saved.setShow({QStringLiteral("x")});
    UserDefaults::standard().setObject(QStringLiteral("config"), Value(saved.archive()));

    EXPECT_EQ(Config::getInstance().bbtitle(), QStringLiteral("Stored board"));
    EXPECT_EQ(Config::getInstance().show(), QSet<QString>{QStringLiteral("x")});
}

TEST(ConfigTest, ImageAddresses)
{
    Bundle::main().setInfoValue(QStringLiteral("ZtServerBaseUrl"), Value(QStringLiteral("http://forum.test/base/")));
    Config config;
    EXPECT_EQ(config.imageURLStringWithString(QStringLiteral("images/a b.png")),
              QStringLiteral("http://forum.test/base/images/a b.png"));
    EXPECT_EQ(config.imageURLWithString(QStringLiteral("images/a.png")),
              QUrl(QStringLiteral("http://forum.test/base/images/a.png")));
    EXPECT_EQ(config.imageURLWithString(QStringLiteral("http://cdn.test/x.png")),
              QUrl(QStringLiteral("http://cdn.test/x.png")));
    EXPECT_EQ(config.imageURLWithString(QStringLiteral("HTTPS://cdn.test/x.png")).toString(),
              QStringLiteral("https://cdn.test/x.png"));
}

TEST(ConfigTest, SocialLoginAsksForTheName)
{
    UserDefaults& defaults = UserDefaults::standard();
    defaults.setObject(QStringLiteral("SocialUserId"), Value(quint64(10000000000123ULL)));
    defaults.setObject(QStringLiteral("SocialSessionKey"), Value(QStringLiteral("k")));

    Config& config = Config::getInstance();
    const std::shared_ptr<SocialSession> session = config.socialSession();
    ASSERT_TRUE(session);
    EXPECT_EQ(SocialSession::session(), session.get());
    EXPECT_TRUE(session->delegates().contains(&config));

    const std::optional<SocialRequest::Call> call = SocialRequest::lastCall();
    ASSERT_TRUE(call.has_value());
    EXPECT_EQ(call->method, QStringLiteral("users.getInfo"));
    EXPECT_EQ(call->params, (ValueDict{{QStringLiteral("uids"), Value(QStringLiteral("10000000000123"))},
                                       {QStringLiteral("fields"), Value(QStringLiteral("first_name,last_name"))}}));
    EXPECT_EQ(config.socialSession(), session);
}

TEST(ConfigTest, SocialNameJoining)
{
    Config config;
    const auto load = [&config](const ValueList& records) {
        config.didLoad(nullptr, Value(records));
        return config.socialName();
    };
    const Value none;
    EXPECT_EQ(load({Value(record(Value(u"Ann"), Value(u"Lee")))}), QStringLiteral("Ann Lee"));
    EXPECT_EQ(load({Value(record(Value(u"Ann"), none))}), QStringLiteral("Ann"));
    EXPECT_EQ(load({Value(record(Value::null(), Value(u"Lee")))}), QStringLiteral("Lee"));
    EXPECT_EQ(load({Value(record(Value(u""), Value(u"Lee")))}), QStringLiteral("Lee"));

    const QString empty = load({Value(record(none, none))});
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(empty.isNull());

    EXPECT_EQ(load({Value(record(Value(u"Ann"), none)), Value(record(Value(u"Bo"), Value(u"Ek")))}),
              QStringLiteral("Bo Ek"));

    config.sessionDidLogout(nullptr);
    EXPECT_TRUE(config.socialName().isNull());
}

}  // namespace

// The probe of the forum's blog form: what its answer allows, what a refusal
// or a failure leaves unknown, and a probe that goes before its answer.
#include "ForumModelTest.h"

#include "forum/model/BlogProbe.h"

#include <QJsonObject>

using BlogProbes = ForumModelTest;

TEST_F(BlogProbes, AMembersProbeAllowsEntriesAndTellsTheEmoticonsOnceAnswered)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const auto probe = std::make_shared<BlogProbe>();
    RecordingObserver observer;
    probe->addObserver(&observer);
    probe->send();
    EXPECT_TRUE(probe->isWaiting());
    EXPECT_FALSE(probe->hasAnswered());
    ASSERT_TRUE(settle());

    EXPECT_FALSE(probe->isWaiting());
    EXPECT_TRUE(probe->hasAnswered());
    EXPECT_TRUE(probe->allowsBlogEntries());
    EXPECT_EQ(probe->showsEmoticons(), std::optional<bool>(true));
    EXPECT_EQ(observer.changes, 1);
    EXPECT_EQ(lastRequest(BlogProbe::kMethod).httpMethod, u"GET");

    // The forum's own words, whatever they are: emoticons off, no form.
    forum().setAnswer(BlogProbe::kMethod, QJsonObject{{QStringLiteral("show"), QJsonObject{{QStringLiteral("smiliebox"), 0}}},
                                                      {QStringLiteral("response"), QJsonObject()}});
    const auto second = std::make_shared<BlogProbe>();
    second->send();
    ASSERT_TRUE(settle());
    EXPECT_TRUE(second->hasAnswered());
    EXPECT_FALSE(second->allowsBlogEntries());
    EXPECT_EQ(second->showsEmoticons(), std::optional<bool>(false));

    // Silent on the emoticons: they stay unknown.
    forum().clearControls();
    forum().setAnswer(BlogProbe::kMethod, QJsonObject{{QStringLiteral("response"), QJsonObject{{QStringLiteral("content"), QJsonObject()}}}});
    const auto third = std::make_shared<BlogProbe>();
    third->send();
    ASSERT_TRUE(settle());
    EXPECT_TRUE(third->allowsBlogEntries());
    EXPECT_FALSE(third->showsEmoticons().has_value());
    probe->removeObserver(&observer);
}

TEST_F(BlogProbes, ARefusalOrALostAnswerTellsNobodyAndAProbeGoneFirstHearsNothing)
{
    // A guest is refused the form.
    openGuestSession();
    const auto refused = std::make_shared<BlogProbe>();
    RecordingObserver observer;
    refused->addObserver(&observer);
    refused->send();
    ASSERT_TRUE(settle());
    EXPECT_FALSE(refused->hasAnswered());
    EXPECT_FALSE(refused->allowsBlogEntries());
    EXPECT_FALSE(refused->isWaiting());
    EXPECT_EQ(observer.changes, 0);
    EXPECT_TRUE(observer.failures.isEmpty());
    refused->removeObserver(&observer);

    // Signed in, but the connection drops.
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    forum().dropConnection(BlogProbe::kMethod);
    const auto lost = std::make_shared<BlogProbe>();
    lost->addObserver(&observer);
    lost->send();
    ASSERT_TRUE(settle());
    EXPECT_FALSE(lost->hasAnswered());
    EXPECT_EQ(observer.changes, 0);
    lost->removeObserver(&observer);

    // Gone before the forum answers: the question goes with it.
    forum().holdAtGate(BlogProbe::kMethod, QStringLiteral("probe"));
    auto early = std::make_shared<BlogProbe>();
    early->send();
    const std::weak_ptr<BlogProbe> gone = early;
    early.reset();
    EXPECT_TRUE(gone.expired());
    forum().openGate(QStringLiteral("probe"));
    EXPECT_TRUE(settle()) << "nothing is left in flight";
}

#include "AppTest.h"

#include "app/media/ImageToUpload.h"
#include "app/session/AvatarBuilder.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QJsonArray>

using SessionTest = AppTest;

namespace {

QJsonObject member(int userid, bool friendChecked, bool outgoing = false)
{
    QJsonObject entry{{QStringLiteral("userid"), QString::number(userid)},
                      {QStringLiteral("username"), QStringLiteral("m%1").arg(userid)},
                      {QStringLiteral("friendcheck_checked"), friendChecked ? 1 : 0}};
    if (outgoing)
        entry.insert(QStringLiteral("show"), QJsonObject{{QStringLiteral("outgoingrequest"), 1}});
    return entry;
}

QJsonObject buddyPage(const QJsonArray& entries, const QJsonValue& incoming, int page, int totalPages)
{
    return {{QStringLiteral("response"),
             QJsonObject{{QStringLiteral("HTML"),
                          QJsonObject{{QStringLiteral("buddylist"), entries},
                                      {QStringLiteral("incominglist"), incoming},
                                      {QStringLiteral("pagenav"),
                                       QJsonObject{{QStringLiteral("pagenumber"), page},
                                                   {QStringLiteral("totalpages"), totalPages}}}}}}}};
}

QStringList names(const QList<FriendPtr>& friends)
{
    QStringList list;
    for (const FriendPtr& f : friends)
        list.append(f->username());
    return list;
}

// The member's friends asked for, until the last page the chain goes to has come.
void fetchFriendsToTheEnd(const CurrentUserPtr& user, const RecordingObserver& observer)
{
    user->fetchFriends();
    ASSERT_TRUE(AppTest::waitFor([&] { return observer.changes > 0; }));
    ASSERT_TRUE(AppTest::settle());
}

QByteArray jpeg(Qt::GlobalColor colour)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

}  // namespace

TEST_F(SessionTest, BuddyPagesFollowEachOtherUntilAScreenIsFull)
{
    // Page 1: four friends, a contact, a request sent (also ticked) and two
    // requests received; page 2: ten friends and one request received.
    forum().setMethodHandler(QStringLiteral("profile_buddylist"), [](const TestForumRequest& request, int) {
        const int page = request.field(QStringLiteral("page")).isEmpty() ? 1 : request.field(QStringLiteral("page")).toInt();
        QJsonArray entries;
        for (int i = 0; i < (page == 1 ? 4 : 10); ++i)
            entries.append(member(page * 100 + i, true));
        if (page == 1) {
            entries.append(member(998, false));
            entries.append(member(999, true, true));
            return buddyPage(entries, QJsonArray{member(501, false), member(502, false)}, 1, 3);
        }
        return buddyPage(entries, member(503, false), page, 3);
    });
    const CurrentUserPtr user = openGuestSession();
    RecordingObserver observer;
    user->addObserver(&observer);

    ASSERT_NO_FATAL_FAILURE(fetchFriendsToTheEnd(user, observer));

    const QList<TestForumRequest> pages = forum().requests(QStringLiteral("profile_buddylist"));
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages[0].httpMethod, QStringLiteral("GET"));
    EXPECT_TRUE(pages[0].formPairs.isEmpty());
    EXPECT_FALSE(pages[0].fields.contains(QStringLiteral("page")));
    EXPECT_EQ(pages[1].httpMethod, QStringLiteral("POST"));
    EXPECT_EQ(pages[1].formPairs, (QList<QPair<QString, QString>>{{QStringLiteral("page"), QStringLiteral("2")}}));
    EXPECT_EQ(observer.changes, 1);
    EXPECT_EQ(user->friends().size(), 14);
    EXPECT_EQ(user->friends().first()->userid(), 100);
    EXPECT_EQ(user->friends().last()->userid(), 209);
    EXPECT_EQ(names(user->contacts()), QStringList{QStringLiteral("m998")});
    ASSERT_EQ(user->outgoing_friends().size(), 1);
    EXPECT_EQ(user->outgoing_friends().first()->userid(), 999);
    ASSERT_EQ(user->incoming_friends().size(), 1);
    EXPECT_EQ(user->incoming_friends().first()->userid(), 503);
    EXPECT_EQ(user->buddylist_pagenumber(), 2);
    EXPECT_EQ(user->buddylist_totalpages(), 3);
    EXPECT_TRUE(user->hasMoreFriendsPage());
    user->removeObserver(&observer);
}

TEST_F(SessionTest, AForumThatIgnoresThePageEndsTheChain)
{
    forum().setMethodHandler(QStringLiteral("profile_buddylist"), [](const TestForumRequest&, int) {
        return buddyPage(QJsonArray{member(1, true), member(2, true)}, QJsonArray(), 1, 3);
    });
    const CurrentUserPtr user = openGuestSession();
    RecordingObserver observer;
    user->addObserver(&observer);

    ASSERT_NO_FATAL_FAILURE(fetchFriendsToTheEnd(user, observer));
    EXPECT_EQ(forum().requests(QStringLiteral("profile_buddylist")).size(), 2);
    EXPECT_EQ(user->friends().size(), 2);
    EXPECT_EQ(observer.changes, 1);
    user->removeObserver(&observer);
}

TEST_F(SessionTest, ThePendingRegistrationPictureStaysUntilTheForumTakesIt)
{
    const CurrentUserPtr user = signIn(QStringLiteral("carol"), QStringLiteral("secret4"));
    RecordingObserver observer;
    user->addObserver(&observer);
    const QString path = CurrentUser::registrationPicturePath(QStringLiteral("carol"));
    const QByteArray picture = jpeg(Qt::blue);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(picture);
    }
    // Refused: the picture stays for the next try, and the profile is not asked.
    forum().answerError(QStringLiteral("profile_updateprofilepic"), QStringLiteral("nopermission_banned"));
    user->uploadPictureAtPath(path);
    ASSERT_TRUE(settle());
    EXPECT_EQ(observer.failures, QStringList{tableText(QStringLiteral("nopermission_banned"))});
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(forum().requests(QStringLiteral("member")).isEmpty());

    // The next session opening sends it again.
    forum().clearLog();
    forum().expireToken();
    const std::shared_ptr<Model> probe = std::make_shared<Model>();
    probe->requestURL(QStringLiteral("member"), ValueDict(), RequestMethod::POST);

    ASSERT_TRUE(waitFor([&] { return !QFile::exists(path); }));
    ASSERT_TRUE(settle());
    const TestForumRequest upload = lastRequest(QStringLiteral("profile_updateprofilepic"));
    EXPECT_TRUE(upload.signatureValid);
    EXPECT_EQ(upload.httpMethod, QStringLiteral("POST"));
    ASSERT_EQ(upload.uploads.size(), 1);
    EXPECT_EQ(upload.uploads[0].parameterName, QStringLiteral("upload"));
    EXPECT_EQ(upload.uploads[0].fileName, QStringLiteral("image.jpg"));
    EXPECT_EQ(upload.uploads[0].contentType, QStringLiteral("image/jpeg"));
    EXPECT_EQ(upload.uploads[0].data, picture);
    EXPECT_EQ(user->friends().size(), 3);
    // The refreshed profile brings the new picture to the user.
    EXPECT_EQ(lastRequest(QStringLiteral("member")).field(QStringLiteral("userid")), QStringLiteral("4"));
    EXPECT_EQ(user->profilepicurl(), QStringLiteral("images/profilepic_4_1.jpg"));
    EXPECT_TRUE(waitFor([&] { return !user->image().isNull(); }));
    user->removeObserver(&observer);
}

TEST_F(SessionTest, DeletingTheAvatarShowsAtOnce)
{
    const CurrentUserPtr user = signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    ASSERT_TRUE(waitFor([&] { return !user->avatar().isNull(); }));
    RecordingObserver observer;
    user->addObserver(&observer);

    user->deleteAvatar();
    EXPECT_EQ(observer.changes, 1);
    EXPECT_TRUE(user->avatar().isNull());
    EXPECT_TRUE(user->pic().isNull());
    EXPECT_TRUE(user->avatarurl().isNull());
    ASSERT_TRUE(settle());
    EXPECT_EQ(lastRequest(QStringLiteral("profile_updateavatar")).formPairs,
              (QList<QPair<QString, QString>>{{QStringLiteral("avatarid"), QStringLiteral("-1")}}));
    EXPECT_TRUE(observer.failures.isEmpty());
    EXPECT_TRUE(user->avatar().isNull());
    user->removeObserver(&observer);
}

TEST_F(SessionTest, TheAvatarBuilderUploadsKeepsItselfAndRefreshesTheUser)
{
    const CurrentUserPtr user = signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    QImage bitmap(12, 12, QImage::Format_RGB32);
    bitmap.fill(Qt::green);
    const auto picture = std::make_shared<ImageToUpload>(Image(bitmap));
    ASSERT_FALSE(picture->path().isEmpty());

    auto builder = Model::create<AvatarBuilder>();
    builder->setTheNewAvatar(picture);
    const std::weak_ptr<AvatarBuilder> watch = builder;
    builder->upload();
    builder.reset();
    EXPECT_FALSE(watch.expired());

    ASSERT_TRUE(waitFor([&] { return watch.expired(); }));
    ASSERT_TRUE(settle());
    const TestForumRequest upload = lastRequest(QStringLiteral("profile_updateavatar"));
    ASSERT_EQ(upload.uploads.size(), 1);
    EXPECT_EQ(upload.uploads[0].parameterName, QStringLiteral("upload"));
    QFile file(picture->path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(upload.uploads[0].data, file.readAll());
    EXPECT_EQ(lastRequest(QStringLiteral("member")).field(QStringLiteral("userid")), QStringLiteral("1"));
    EXPECT_EQ(user->avatarurl(), QStringLiteral("images/avatar_1_1.jpg"));
    EXPECT_TRUE(waitFor([&] { return !user->avatar().isNull(); }));

    // A failed upload lets the builder go too, and refreshes nothing.
    forum().clearLog();
    forum().answerHttpStatus(QStringLiteral("profile_updateavatar"), 500);
    builder = Model::create<AvatarBuilder>();
    builder->setTheNewAvatar(picture);
    const std::weak_ptr<AvatarBuilder> failing = builder;
    builder->upload();
    builder.reset();
    ASSERT_TRUE(waitFor([&] { return failing.expired(); }));
    ASSERT_TRUE(settle());
    EXPECT_TRUE(forum().requests(QStringLiteral("member")).isEmpty());
}

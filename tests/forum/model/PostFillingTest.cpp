// A post's keys, texts, flags and attachments.
#include "ForumModelTest.h"

#include "forum/model/Announcement.h"
#include "forum/model/Post.h"
#include "forum/model/Thread.h"
#include "platform/foundation/Bundle.h"

#include <QTimeZone>

using PostFilling = ForumModelTest;

namespace {

PostPtr postFrom(const char* text)
{
    return Model::createWithDictionary<Post>(json(text));
}

QList<qint32> idsOf(const AttachmentList& attachments)
{
    QList<qint32> ids;
    for (const AttachmentPtr& attachment : attachments)
        ids.append(attachment->attachmentid());
    return ids;
}

Value dictionary(const QString& key, const Value& value)
{
    return Value(ValueDict{{key, value}});
}

}  // namespace

TEST_F(PostFilling, ElementOfAPageFillsEveryField)
{
    const Value element = fixture("showthread_page")[u"response"][u"postbits"].at(1);
    const PostPtr post = Model::createWithDictionary<Post>(element);

    EXPECT_EQ(post->postid(), 5011);
    EXPECT_EQ(post->user()->username(), u"alice");
    EXPECT_EQ(post->user()->userid(), 1);
    EXPECT_EQ(post->picurl(), u"images/avatars/alice.png?a=1&b=2");
    EXPECT_EQ(post->date(), QDateTime::fromSecsSinceEpoch(1700007200, QTimeZone::utc()));
    EXPECT_TRUE(post->posttime().isNull());
    // A "message" dictionary gives its own "message".
    EXPECT_EQ(post->message(), u"Pictures <i>in</i> posts");
    EXPECT_EQ(post->message_nohtml(), u"Pictures in posts");
    EXPECT_EQ(post->signature(), u"<i>alice</i>");
    EXPECT_TRUE(post->canEdit());
    EXPECT_TRUE(post->canReply());
    EXPECT_FALSE(post->canReport());
    EXPECT_TRUE(post->isApproved());
    ASSERT_TRUE(post->message_postquote());
    EXPECT_EQ(post->message_postquote()->info().size(), 3);

    // One dictionary is a list of one; other elements are skipped; the strip
    // shows the thumbnails, then the image attachments.
    EXPECT_EQ(idsOf(post->ownThumbnailattachments()), QList<qint32>{71});
    EXPECT_EQ(idsOf(post->otherattachments()), QList<qint32>{72});
    EXPECT_EQ(idsOf(post->thumbnailattachments()), (QList<qint32>{71, 73}));
    const AttachmentPtr picture = post->ownThumbnailattachments()[0];
    EXPECT_TRUE(picture->hasthumbnail());
    EXPECT_EQ(picture->picurl(), u"attachment.php?attachmentid=71&thumb=1");
    EXPECT_EQ(picture->filesize(), u"24");
    EXPECT_EQ(picture->capital(), u"lighthouse.jpg");
    EXPECT_EQ(picture->thumbnail_dateline(), u"1700000000");
    // Without "pictureurl" the address is "url"; a null "url" gives none.
    EXPECT_EQ(post->otherattachments()[0]->picurl(), u"attachment.php?attachmentid=72");
    EXPECT_TRUE(post->imageattachments()[0]->picurl().isNull());
    EXPECT_TRUE(post->isApprovedAttachment());
}

TEST_F(PostFilling, LongBbcodeIsShownAsTooLongButKeptForEditingAndQuoting)
{
    const QString limit(Post::MaxShownBbcode, u'x');
    const auto post = Model::create<Post>();
    post->setMessage_bbcode(limit);
    EXPECT_EQ(post->message_bbcode(), limit);

    const QString longer = QStringLiteral("[QUOTE=bob;1]") + QString(Post::MaxShownBbcode, u'y');
    post->setDictionary(json(R"({"postid":9,"username":"carol"})"));
    post->setMessage_bbcode(longer);
    const QString placeholder = Bundle::main().localizedString(QStringLiteral("message_too_long"));
    EXPECT_EQ(post->message_bbcode(), placeholder);
    EXPECT_EQ(post->sourceBbcode(), longer);
    // The quotes are parsed from what is shown.
    ASSERT_TRUE(post->message_postquote());
    EXPECT_EQ(post->message_postquote()->length(), placeholder.size());
    // A quote of the post carries what the thread page would show of a
    // post, the quote the cut leaves open closed, and says the rest is left out.
    EXPECT_EQ(post->quote(), QStringLiteral("[QUOTE=carol;9]") + longer.left(Post::MaxShownBbcode)
                                 + QStringLiteral("[/QUOTE]\n")
                                 + Bundle::main().localizedString(QStringLiteral("quote_cut"))
                                 + QStringLiteral("[/QUOTE]"));
    // One the thread page shows goes whole.
    post->setMessage_bbcode(limit);
    EXPECT_EQ(post->quote(), QStringLiteral("[QUOTE=carol;9]") + limit + QStringLiteral("[/QUOTE]"));
}

TEST_F(PostFilling, TextWithoutTagsKeepsEntitiesAndAnUnclosedTag)
{
    EXPECT_EQ(postFrom(R"({"message":"a<b>word</b> c"})")->message_nohtml(), u"aword c");
    EXPECT_EQ(postFrom(R"({"message":"x &amp; <br/>y<br/>z <i"})")->message_nohtml(), u"x &amp; yz <i");
    EXPECT_EQ(postFrom(R"({"message":"<p><p></p>"})")->message_nohtml(), u"");
    // Made once and kept.
    const PostPtr post = postFrom(R"({"message":"<b>one</b>"})");
    EXPECT_EQ(post->message_nohtml(), u"one");
    post->setMessage(Value(QStringLiteral("two")));
    EXPECT_EQ(post->message_nohtml(), u"one");
}

TEST_F(PostFilling, HostileNestingIsFollowedOnlySoDeep)
{
    // A "message" in a "message" thousands deep, and a "post" in a "post".
    Value message(QStringLiteral("deep"));
    for (int i = 0; i < 5000; ++i)
        message = dictionary(QStringLiteral("message"), message);
    const auto post = Model::create<Post>();
    post->setMessage(message);
    EXPECT_TRUE(post->message().isNull());
    post->setMessage(dictionary(QStringLiteral("message"), Value(QStringLiteral("shallow"))));
    EXPECT_EQ(post->message(), u"shallow");

    Value nested = Value(ValueDict{{QStringLiteral("postid"), Value(99)}});
    for (int i = 0; i < 5000; ++i)
        nested = dictionary(QStringLiteral("post"), nested);
    post->setDictionary(nested);
    EXPECT_EQ(post->postid(), 0);
    post->setDictionary(dictionary(QStringLiteral("post"), Value(ValueDict{{QStringLiteral("postid"), Value(5)}})));
    EXPECT_EQ(post->postid(), 5);
}

TEST_F(PostFilling, FlagsFromTheTypeAndTheShowBlock)
{
    const PostPtr ignored = postFrom(R"({"postbit_type":"postbit_ignore"})");
    EXPECT_EQ(ignored->status_flags(), Post::UserIgnore);

    // "show" without "deletedpost" keeps what the type set; "moderated" only when present.
    const PostPtr deleted = postFrom(R"({"postbit_type":"postbit_deleted","show":{"moderated":false}})");
    EXPECT_EQ(deleted->status_flags(), Post::Deleted | Post::Approved);
    deleted->setShow(json(R"({"deletedpost":0})"));
    EXPECT_EQ(deleted->status_flags(), Post::Approved);
    deleted->setShow(json(R"({"moderated":"1","editlink":1})"));
    EXPECT_EQ(deleted->status_flags(), 0);
    EXPECT_TRUE(deleted->canEdit());
    deleted->setShow(json(R"({})"));
    EXPECT_FALSE(deleted->canEdit());

    const PostPtr flags = Model::create<Post>();
    flags->setDeleted(true);
    flags->setIgnoreGlobal(true);
    flags->setApproved(true);
    flags->setUserIgnore(true);
    EXPECT_EQ(flags->status_flags(), 15);
    flags->setIgnoreGlobal(false);
    EXPECT_EQ(flags->status_flags(), 7);
}

TEST_F(PostFilling, AttachmentsMoveBetweenListsWhenApprovedOrNot)
{
    const PostPtr post = postFrom(R"({
        "moderatedattachments":[{"attachmentid":1,"hasthumbnail":true},{"attachmentid":2,"hasthumbnail":false}],
        "thumbnailattachments":{"attachmentid":3,"hasthumbnail":true},
        "otherattachments":[{"attachmentid":4}],
        "imageattachments":[{"attachmentid":5}]})");
    EXPECT_FALSE(post->isApprovedAttachment());

    post->setApprovedAttachment(true);
    EXPECT_TRUE(post->isApprovedAttachment());
    EXPECT_EQ(idsOf(post->ownThumbnailattachments()), (QList<qint32>{3, 1}));
    EXPECT_EQ(idsOf(post->otherattachments()), (QList<qint32>{4, 2}));

    post->setApprovedAttachment(false);
    EXPECT_EQ(idsOf(post->moderatedattachments()), (QList<qint32>{4, 2, 3, 1}));
    EXPECT_TRUE(post->ownThumbnailattachments().isEmpty());
    EXPECT_TRUE(post->otherattachments().isEmpty());
    EXPECT_EQ(idsOf(post->imageattachments()), QList<qint32>{5});
    EXPECT_EQ(idsOf(post->thumbnailattachments()), QList<qint32>{5});
}

TEST_F(PostFilling, AnnouncementAnswerFillsTheMatchingAnnouncement)
{
    const auto announcement = Model::create<Announcement>();
    announcement->setAnnouncementid(2);
    RecordingObserver observer;
    announcement->addObserver(&observer);
    announcement->announcementResult(answeredFixture("announcement_view"));
    EXPECT_EQ(announcement->title(), u"New <b>thread</b> prefixes");
    EXPECT_EQ(announcement->usertitle(), u"Staff");
    EXPECT_EQ(announcement->userid(), 3);
    EXPECT_EQ(announcement->date(), QDateTime::fromSecsSinceEpoch(0, QTimeZone::utc()));
    EXPECT_EQ(announcement->imagesProperties().first().first, u"avatarurl");

    // Another announcement's answer changes nothing, but is told.
    const auto other = Model::create<Announcement>();
    other->setAnnouncementid(5);
    RecordingObserver otherObserver;
    other->addObserver(&otherObserver);
    other->announcementResult(answeredFixture("announcement_view"));
    EXPECT_TRUE(other->title().isNull());
    EXPECT_EQ(otherObserver.changes, 1);
    other->removeObserver(&otherObserver);
    announcement->removeObserver(&observer);
}

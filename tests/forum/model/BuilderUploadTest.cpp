// The builder's send against the loopback forum: uploads, then the post.
#include "BuilderTestSupport.h"

#include "app/media/ImageToUpload.h"
#include "app/net/HTTPRequestAsyncronic.h"
#include "platform/foundation/Log.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QImage>
#include <QJsonObject>

#include <atomic>

namespace {

std::shared_ptr<ImageToUpload> picture(Qt::GlobalColor colour)
{
    QImage image(16, 12, QImage::Format_RGB32);
    image.fill(colour);
    return std::make_shared<ImageToUpload>(Image(image));
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString catUrl = QStringLiteral("http://pics.example/cat.jpg");

}  // namespace

TEST_F(BuilderTest, EachAttachmentIsUploadedWithTheFormFieldsAndThePostFollowsTheLast)
{
    const auto red = picture(Qt::red);
    const auto blue = picture(Qt::blue);
    const QByteArray redBytes = bytesOf(red->path());
    const QByteArray blueBytes = bytesOf(blue->path());
    ASSERT_FALSE(redBytes.isEmpty());
    ASSERT_NE(redBytes, blueBytes);
    // What the forum had answered of the uploads when the post reached it.
    std::atomic<int> uploadsAnsweredAtPost{-1};
    forum().setMethodHandler(TestBuilder::PostMethod, [&](const TestForumRequest&, int) {
        int answeredCount = 0;
        for (const TestForumRequest& upload : forum().requests(Builder::UploadMethod))
            answeredCount += upload.status == 200 ? 1 : 0;
        uploadsAnsweredAtPost = answeredCount;
        return QJsonObject{{QStringLiteral("response"),
                            QJsonObject{{QStringLiteral("errormessage"), QStringLiteral("redirect_postthanks_moderate")}}}};
    });
    const auto builder = makeBuilder();
    builder->setAttachments({UploadAttachment(red), UploadAttachment(catUrl), UploadAttachment(blue)});

    EXPECT_FALSE(builder->create().isSet());
    EXPECT_EQ(builder->requestStatus(), BuilderStatus::Sending);
    EXPECT_EQ(builder->attachmentRequests().size(), 3);
    ASSERT_TRUE(TestSupport::waitFor([&] { return builder->requestStatus() == BuilderStatus::Sent; }));
    ASSERT_TRUE(settle());

    EXPECT_EQ(apiLog(), (QStringList{Builder::UploadMethod, Builder::UploadMethod, Builder::UploadMethod,
                                     TestBuilder::PostMethod}));
    EXPECT_EQ(uploadsAnsweredAtPost.load(), 3);
    EXPECT_EQ(builder->uploadsRunningAtPost, QList<int>{0});
    EXPECT_TRUE(builder->attachmentRequests().isEmpty());

    QList<QByteArray> files;
    int byAddress = 0;
    for (const TestForumRequest& upload : forum().requests(Builder::UploadMethod)) {
        SCOPED_TRACE(upload.rawQuery.toStdString());
        EXPECT_EQ(upload.httpMethod, u"POST");
        EXPECT_TRUE(upload.signatureValid);
        EXPECT_EQ(upload.queryFields.keys(),
                  (QStringList{QStringLiteral("api_c"), QStringLiteral("api_m"), QStringLiteral("api_s"),
                               QStringLiteral("api_sig"), QStringLiteral("api_v")}));
        EXPECT_EQ(upload.field(QStringLiteral("values[forumid]")), u"7");
        EXPECT_EQ(upload.field(QStringLiteral("contenttypeid")), u"1");
        EXPECT_EQ(upload.field(QStringLiteral("poststarttime")), u"1700000123");
        EXPECT_EQ(upload.field(QStringLiteral("posthash")), u"f00dcafe");
        EXPECT_EQ(upload.field(QStringLiteral("upload")), u"Upload");
        if (upload.uploads.isEmpty()) {
            ++byAddress;
            EXPECT_EQ(upload.header(QStringLiteral("Content-Type")), u"application/x-www-form-urlencoded");
            EXPECT_EQ(upload.body, QByteArray("values[forumid]=7&contenttypeid=1&poststarttime=1700000123"
                                              "&posthash=f00dcafe&upload=Upload&attachmenturl[]=http://pics.example/cat.jpg"));
            continue;
        }
        EXPECT_TRUE(upload.header(QStringLiteral("Content-Type")).startsWith(u"multipart/form-data; boundary="));
        EXPECT_FALSE(upload.fields.contains(QStringLiteral("attachmenturl[]")));
        ASSERT_EQ(upload.uploads.size(), 1);
        EXPECT_EQ(upload.uploads[0].parameterName, u"attachment[]");
        EXPECT_EQ(upload.uploads[0].fileName, u"image.jpg");
        EXPECT_EQ(upload.uploads[0].contentType, u"image/jpeg");
        files.append(upload.uploads[0].data);
    }
    EXPECT_EQ(byAddress, 1);
    EXPECT_EQ(files.size(), 2);
    EXPECT_TRUE(files.contains(redBytes));
    EXPECT_TRUE(files.contains(blueBytes));
    EXPECT_TRUE(observer.failures.isEmpty());
    EXPECT_EQ(observer.statusesSeen.last(), BuilderStatus::Sent);
}

TEST_F(BuilderTest, ThePostWaitsForTheLastUploadWhateverOrderTheyEndIn)
{
    const QList<QList<int>> orders{{2, 0, 1}, {0, 1, 2}, {1, 2, 0}};
    for (const QList<int>& order : orders) {
        SCOPED_TRACE(::testing::PrintToString(std::vector<int>(order.begin(), order.end())));
        const auto builder = makeBuilder();
        builder->holdUploads = true;
        builder->setAttachments({UploadAttachment(QStringLiteral("http://pics.example/1.jpg")),
                                 UploadAttachment(QStringLiteral("http://pics.example/2.jpg")),
                                 UploadAttachment(QStringLiteral("http://pics.example/3.jpg"))});
        ASSERT_FALSE(builder->create().isSet());
        const QList<HTTPRequestPtr> uploads = builder->attachmentRequests();
        ASSERT_EQ(uploads.size(), 3);
        ASSERT_TRUE(TestSupport::waitFor([&] { return builder->heldUploads.size() == 3; }));

        // An answer while uploads still run leaves the send running, whatever its code.
        builder->setRequestStatus(BuilderStatus::Failed);
        builder->setErrormessage(Value(QStringLiteral("redirect_postthanks")));
        EXPECT_EQ(builder->requestStatus(), BuilderStatus::Sending);

        builder->Builder::finishedUploading(uploads[order[0]]);
        builder->Builder::finishedUploading(uploads[order[1]]);
        EXPECT_EQ(builder->posts, 0);
        // An upload that has already ended counts once.
        builder->Builder::finishedUploading(uploads[order[1]]);
        EXPECT_EQ(builder->posts, 0);
        builder->Builder::finishedUploading(uploads[order[2]]);
        EXPECT_EQ(builder->posts, 1);
        builder->Builder::finishedUploading(uploads[order[2]]);
        EXPECT_EQ(builder->posts, 1);

        ASSERT_TRUE(TestSupport::waitFor([&] { return builder->requestStatus() == BuilderStatus::Sent; }));
    }
}

TEST_F(BuilderTest, SendingRefusesASecondCreateAndSendsAgainAfterAFailure)
{
    answerPostWith(QStringLiteral("postfloodcheck"));
    const auto builder = makeBuilder();

    EXPECT_FALSE(builder->create().isSet());
    EXPECT_FALSE(builder->create().isSet());
    EXPECT_EQ(builder->posts, 1);
    ASSERT_TRUE(TestSupport::waitFor([&] { return !observer.failures.isEmpty(); }));
    EXPECT_EQ(builder->requestStatus(), BuilderStatus::Failed);
    EXPECT_EQ(observer.errors.first(), Error::withMessage(tableText(QStringLiteral("postfloodcheck"))));

    answerPostWith(QStringLiteral("redirect_postthanks"));
    EXPECT_FALSE(builder->create().isSet());
    ASSERT_TRUE(TestSupport::waitFor([&] { return builder->requestStatus() == BuilderStatus::Sent; }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(apiLog(), (QStringList{TestBuilder::PostMethod, TestBuilder::PostMethod}));
}

TEST_F(BuilderTest, AnUploadNotTakenStopsThePostAndSendingAgainUploadsOnlyWhatIsMissing)
{
    // One upload refused by the forum, one lost on the way, one taken.
    forum().refuseUploads(QStringLiteral("upload_file_exceeds_forum_limit"), 1);
    forum().dropConnection(Builder::UploadMethod, 1);
    const auto builder = makeBuilder();
    const auto red = picture(Qt::red);
    const auto blue = picture(Qt::blue);
    const auto green = picture(Qt::green);
    builder->setAttachments({UploadAttachment(red), UploadAttachment(blue), UploadAttachment(green)});

    ASSERT_FALSE(builder->create().isSet());
    ASSERT_TRUE(TestSupport::waitFor([&] { return !observer.failures.isEmpty(); }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(builder->requestStatus(), BuilderStatus::Failed);
    EXPECT_EQ(builder->posts, 0) << "nothing is posted without its pictures";
    EXPECT_EQ(observer.failures.size(), 1) << "said once";
    EXPECT_EQ(forum().requests(Builder::UploadMethod).size(), 3);
    EXPECT_TRUE(forum().requests(TestBuilder::PostMethod).isEmpty());

    // Again: the picture the forum took is not sent twice.
    forum().clearLog();
    ASSERT_FALSE(builder->create().isSet());
    ASSERT_TRUE(TestSupport::waitFor([&] { return builder->requestStatus() == BuilderStatus::Sent; }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(builder->posts, 1);
    EXPECT_EQ(forum().requests(Builder::UploadMethod).size(), 2);
    EXPECT_EQ(forum().requests(TestBuilder::PostMethod).size(), 1);
    EXPECT_EQ(observer.failures.size(), 1);

    // A new form takes them all again.
    forum().clearLog();
    builder->setPosthash(QStringLiteral("beefcafe"));
    ASSERT_FALSE(builder->create().isSet());
    ASSERT_TRUE(TestSupport::waitFor([&] { return builder->posts == 2; }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(forum().requests(Builder::UploadMethod).size(), 3);
}

TEST_F(BuilderTest, APictureWithoutAReadableFileIsNotUploaded)
{
    Log::clearRecent();
    const auto neverWritten = std::make_shared<ImageToUpload>(Image());
    const auto removed = picture(Qt::green);
    ASSERT_TRUE(QFile::remove(removed->path()));
    const auto builder = makeBuilder();
    // An element of another kind still gets its upload, with no picture.
    builder->setAttachments({UploadAttachment(neverWritten), UploadAttachment(removed), UploadAttachment(catUrl), UploadAttachment()});

    ASSERT_FALSE(builder->create().isSet());
    EXPECT_EQ(builder->attachmentRequests().size(), 2);
    ASSERT_TRUE(TestSupport::waitFor([&] { return builder->requestStatus() == BuilderStatus::Sent; }));
    ASSERT_TRUE(settle());

    const QList<TestForumRequest> uploads = forum().requests(Builder::UploadMethod);
    ASSERT_EQ(uploads.size(), 2);
    int withAddress = 0;
    for (const TestForumRequest& upload : uploads) {
        EXPECT_TRUE(upload.uploads.isEmpty());
        EXPECT_EQ(upload.field(QStringLiteral("posthash")), u"f00dcafe");
        withAddress += upload.fields.contains(QStringLiteral("attachmenturl[]")) ? 1 : 0;
    }
    EXPECT_EQ(withAddress, 1);
    EXPECT_EQ(builder->posts, 1);
    EXPECT_TRUE(Log::recent().join(u'\n').contains(removed->path()));

    // Nothing left to upload: the post goes at once.
    forum().clearLog();
    builder->setAttachments({UploadAttachment(neverWritten)});
    ASSERT_FALSE(builder->create().isSet());
    EXPECT_EQ(builder->posts, 2);
    ASSERT_TRUE(TestSupport::waitFor([&] { return builder->requestStatus() == BuilderStatus::Sent; }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(apiLog(), QStringList{TestBuilder::PostMethod});
}

TEST_F(BuilderTest, ABuilderThatGoesTakesItsUploadsWithIt)
{
    forum().delayMethod(Builder::UploadMethod, 300, 2);
    auto builder = makeBuilder();
    builder->setAttachments({UploadAttachment(catUrl), UploadAttachment(QStringLiteral("http://pics.example/dog.jpg"))});
    ASSERT_FALSE(builder->create().isSet());
    ASSERT_TRUE(TestSupport::waitFor([&] { return forum().requests(Builder::UploadMethod).size() == 2; }));

    builder.reset();
    EXPECT_EQ(HTTPRequestAsyncronic::getPendingRequests(), 0);

    // The forum answers them all the same; nobody is left to post.
    ASSERT_TRUE(TestSupport::waitFor([&] {
        const QList<TestForumRequest> uploads = forum().requests(Builder::UploadMethod);
        return uploads[0].status != 0 && uploads[1].status != 0;
    }));
    TestSupport::processEvents();
    EXPECT_EQ(apiLog(), (QStringList{Builder::UploadMethod, Builder::UploadMethod}));
}

TEST_F(BuilderTest, APostThatCannotReachTheForumFailsWithNoInternetAndOneThatReachedItIsNotToldSo)
{
    // Nothing comes back: a line the forum closed after reading the whole
    // post (answered to finishedCreating), then no forum at all.
    for (const bool reachedTheForum : {true, false}) {
        SCOPED_TRACE(reachedTheForum ? "the line closed at the forum" : "no forum");
        BuilderObserver watcher;
        const auto builder = makeBuilder();
        builder->addObserver(&watcher);
        builder->postThroughFinishedCreating = true;
        if (reachedTheForum)
            forum().dropConnection(TestBuilder::PostMethod, 1, TestForum::Drop::BeforeAnswer);
        else
            forum().stop();

        ASSERT_FALSE(builder->create().isSet());
        ASSERT_TRUE(TestSupport::waitFor([&] { return !watcher.failures.isEmpty(); }));

        // A builder that cannot look at the forum cannot say what became of
        // a post that reached it; one that never left did not arrive.
        EXPECT_EQ(builder->requestStatus(), BuilderStatus::Failed);
        EXPECT_EQ(watcher.failures, QStringList{reachedTheForum ? PostingTest::fateText("post_fate_unknown")
                                                                : tableText(QStringLiteral("nointernet"))});
        EXPECT_EQ(watcher.statusesSeen, QList<BuilderStatus>{BuilderStatus::Failed});
        EXPECT_EQ(builder->answerLost(), reachedTheForum);
    }
    EXPECT_EQ(forum().requests(TestBuilder::PostMethod).size(), 1);

    // Through the model layer's handler, no forum: no connection.
    BuilderObserver watcher;
    const auto builder = makeBuilder();
    builder->addObserver(&watcher);
    ASSERT_FALSE(builder->create().isSet());
    ASSERT_TRUE(TestSupport::waitFor([&] { return !watcher.failures.isEmpty(); }));
    EXPECT_EQ(watcher.failures, QStringList{tableText(QStringLiteral("nointernet"))});
}

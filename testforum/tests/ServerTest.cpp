#include "ForumTest.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>

namespace {

using ServerTest = ForumTest;

TEST_F(ServerTest, RawRoutesAnswerAndLogExactBodies)
{
    ForumClient raw(forum.url(s("")).toString());
    const QByteArray multipart = "\r\n--b0\r\nContent-Disposition: form-data; name=\"photo\"; filename=\"p.jpg\"\r\n"
                                 "Content-Type: image/jpeg\r\n\r\nJPG\r\n--b0--\r\n";
    EXPECT_EQ(raw.post(s("/echo?multipart"), multipart, "multipart/form-data; boundary=b0").body, QByteArray("ok"));
    EXPECT_EQ(forum.requests().last().body, multipart);
    EXPECT_EQ(forum.requests().last().rawQuery, QByteArray("multipart"));

    const ForumReply missing = raw.get(s("/missing"));
    EXPECT_EQ(missing.status, 404);
    EXPECT_EQ(missing.body, QByteArray("not found here"));
    EXPECT_EQ(raw.get(s("/notmodified")).status, 304);
    EXPECT_TRUE(raw.get(s("/plist")).body.contains("<string>forum</string>"));
    EXPECT_EQ(raw.get(s("/broken")).status, 500);

    // A gate holds its answer until it is opened.
    QNetworkAccessManager manager;
    const auto throughGate = [this](QNetworkReply* waiting, const QString& gate) {
        while (forum.arrivedAtGate(gate) == 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        EXPECT_FALSE(waiting->isFinished());
        forum.openGate(gate);
        while (!waiting->isFinished())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        const QByteArray body = waiting->readAll();
        delete waiting;
        return body;
    };
    EXPECT_EQ(throughGate(manager.get(QNetworkRequest(forum.url(s("/gate/one")))), s("one")), QByteArray("gate one"));
    // So does an API method's, when it is told to.
    forum.holdAtGate(s("api_init"), s("init"));
    QNetworkRequest init(forum.url(s("/forum/api.php?api_v=6&api_m=api_init")));
    init.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/x-www-form-urlencoded"));
    EXPECT_TRUE(throughGate(manager.post(init, QByteArray("clientname=x")), s("init")).contains("apiaccesstoken"));
}

TEST_F(ServerTest, TheProgramsHelpGivesEveryPasswordTheDemoNeeds)
{
    QProcess program;
    program.start(s(TESTFORUM_SERVER), {s("--help")});
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitCode(), 0);
    const QString help = QString::fromUtf8(program.readAllStandardOutput());
    // What the demo shows of it: from the members on.
    const QString shown = help.mid(help.indexOf(s("Seeded members")));
    EXPECT_TRUE(shown.contains(s("alice / secret1")));
    EXPECT_TRUE(shown.contains(s("Password-protected forums")));
    EXPECT_TRUE(shown.contains(s("Staff Lounge / letmein")));
}

TEST_F(ServerTest, TheLogStaysWithinItsLimits)
{
    forum.setLogLimits(40, 100 * 1024, 16 * 1024);
    ForumClient raw(forum.url(s("")).toString());
    const QByteArray body(10 * 1024, 'x');
    for (int i = 0; i < 120; ++i)
        raw.post(s("/echo?n=%1").arg(i), body);
    const QList<TestForumRequest> kept = forum.requests();
    EXPECT_LE(kept.size(), 40);
    qint64 bytes = 0;
    for (const TestForumRequest& request : kept)
        bytes += request.body.size() + request.answer.size();
    EXPECT_LE(bytes, 100 * 1024);
    EXPECT_EQ(kept.last().rawQuery, QByteArray("n=119"));
    EXPECT_FALSE(kept.first().rawQuery == QByteArray("n=0"));

    raw.post(s("/echo?big"), QByteArray(40 * 1024, 'y'));
    EXPECT_EQ(forum.requests().last().body.size(), 16 * 1024);
    EXPECT_TRUE(forum.requests().last().truncated);
}

TEST_F(ServerTest, ControlsBreakCallsInEachWay)
{
    const auto alice = client(s("alice"), s("secret1"));
    // A client may send again a request whose connection closed before any
    // byte came back: the drop holds until the controls are cleared.
    forum.dropConnection(s("forum"), -1, TestForum::Drop::BeforeAnswer);
    const ForumReply silent = alice->call(s("forum"));
    EXPECT_NE(silent.error, QNetworkReply::NoError);
    EXPECT_EQ(silent.status, 0);
    forum.clearControls();
    // The forum carries the call out and answers nothing: the notice is
    // dismissed although the client heard nothing back.
    forum.dropConnection(s("ajax_dismissnotice"), -1, TestForum::Drop::AfterHandling);
    const ForumReply unanswered = alice->call(s("ajax_dismissnotice"), "noticeid=3");
    EXPECT_EQ(unanswered.status, 0);
    EXPECT_TRUE(unanswered.body.isEmpty());
    forum.clearControls();
    EXPECT_EQ(alice->call(s("forum")).response().value(s("notices")).toObject().value(s("_noticeid")).toInt(), 2);
    forum.dropConnection(s("forum"), 1, TestForum::Drop::MidBody);
    const ForumReply cut = alice->call(s("forum"));
    EXPECT_NE(cut.error, QNetworkReply::NoError);
    EXPECT_EQ(forum.requests(s("forum")).last().status, -1);

    forum.setRawAnswer(s("api_forumlist"), "this is not json", 1);
    const ForumReply raw = alice->call(s("api_forumlist"));
    EXPECT_EQ(raw.body, QByteArray("this is not json"));
    EXPECT_FALSE(raw.header(s("Authorization")).isEmpty());
    forum.omitSignature(s("api_forumlist"));
    EXPECT_TRUE(alice->call(s("api_forumlist")).header(s("Authorization")).isEmpty());
    EXPECT_FALSE(alice->call(s("api_forumlist")).header(s("Authorization")).isEmpty());
}

}  // namespace

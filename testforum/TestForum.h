#pragma once

#include "TestForumRequest.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

// A forum that speaks the forum's mobile API on 127.0.0.1, for the tests and the
// demo. It checks every request signature, signs every answer, keeps API clients,
// tokens and signed-in members, and serves a whole forum read from its seed: the
// forum tree, threads and posts with attachments, announcements, notices, blogs,
// articles, new and top feeds, subscriptions, search, posting, inline moderation
// and sign-up, all of which change what it serves next. It can be told to
// misbehave in every way the client tells apart. The HTTP server runs on its own
// threads; every member is safe to call from the test's thread while requests
// are being answered. See README.md beside this file.
//
// Controls that take `method` apply to the API method of that name, or to every
// API method when it is empty; `times` counts the matching requests they apply to
// (a negative count: all of them, until clearControls()).
class TestForum {
public:
    // Answers one API method in place of the forum's own answer, or one it does
    // not know (the session methods "api_init", "login_login" and "login_logout"
    // stay the forum's own). Called on the server's thread, after the session
    // checks, with the request and the member signed in on its token (0 for a
    // guest); returns the whole JSON body.
    using MethodHandler = std::function<QJsonObject(const TestForumRequest& request, int memberId)>;
    // Told of every request once it has been answered, on the server's thread.
    using RequestObserver = std::function<void(const TestForumRequest& request)>;

    // Where a control drops the connection.
    enum class Drop {
        BeforeAnswer,  // closed without a byte of the answer
        AfterHandling, // the call is carried out, then closed without a byte of the answer
        AfterHead,     // the head promises a body that never comes
        MidBody,       // status 200 and half of the body, then closed
    };

    // `seedPath` names the seed file (the default one beside this file when
    // empty); its pictures are in "images" beside it.
    explicit TestForum(const QString& seedPath = {});
    ~TestForum();
    TestForum(const TestForum&) = delete;
    TestForum& operator=(const TestForum&) = delete;

    // Listens on 127.0.0.1; port 0 takes a free one. False when the port is taken
    // or the seed could not be read (seedProblem() says why).
    bool start(int port = 0);
    void stop();
    bool isRunning() const;
    int port() const;
    // "http://127.0.0.1:<port>/forum": the base address the client is built with.
    QString baseUrl() const;
    // "http://127.0.0.1:<port>" followed by the path (and query): the raw routes' address.
    QUrl url(const QString& pathAndQuery) const;
    QString seedPath() const;
    QString seedProblem() const;
    QJsonObject seed() const;

    // Every token issued so far answers "invalid_accesstoken" from now on.
    void expireToken();
    void answerInvalidSessionHash(const QString& method, int times = 1);
    // Every method but "api_init" answers ["bbclosed", reason]; "api_init" reports
    // the forum inactive with that reason.
    void closeForum(const QString& reason);
    void openForum();
    bool isClosed() const;
    // {"response":{"errormessage": errormessage}}: a code or a list.
    void answerError(const QString& method, const QJsonValue& errormessage, int times = 1);
    void answerHttpStatus(const QString& method, int status, const QByteArray& body = {}, int times = 1);
    // The next requests that carry files (attachments, avatars, profile
    // pictures) are refused as the forum refuses a file it does not take:
    // {"response":{"errormessage":[reason]}}, and nothing is kept.
    void refuseUploads(const QString& reason = QStringLiteral("upload_file_exceeds_forum_limit"), int times = 1);
    // The next new threads and replies are refused as posted too soon after
    // the member's last post: ["postfloodcheck", seconds, seconds left], and
    // nothing is kept. Edits are not checked, as on a forum.
    void refusePostsAsFlood(int seconds = 30, int times = 1);
    // The answer's "Authorization" does not match its body.
    void signWrongly(const QString& method, int times = 1);
    // The answer comes without an "Authorization" header.
    void omitSignature(const QString& method, int times = 1);
    // Every answer, API or picture, waits this long.
    void setDelay(int ms);
    // Answers of this method wait this much longer (on top of setDelay).
    void delayMethod(const QString& method, int ms, int times = 1);
    void dropConnection(const QString& method, int times = 1, Drop where = Drop::AfterHead);
    // Answers of this method wait at the gate until openGate(gate) (or until
    // the forum stops), so that a test sees what comes before the answer.
    void holdAtGate(const QString& method, const QString& gate, int times = 1);
    // The forum stores late, apart from its answer: the connection closes at
    // once without a byte of the answer, as a front server that gives up
    // does, while the call itself waits at the gate and is carried out only
    // when openGate(gate) opens it (never, if the forum stops first).
    // arrivedAtGate(gate) counts the calls waiting so.
    void storeLate(const QString& method, const QString& gate, int times = 1);
    // This body instead of the method's own answer (still after the session checks).
    void setAnswer(const QString& method, const QJsonObject& answer, int times = -1);
    // These bytes, signed, instead of the method's own answer: a top-level list,
    // a body that is not JSON at all...
    void setRawAnswer(const QString& method, const QByteArray& body, int times = -1);
    void setMethodHandler(const QString& method, MethodHandler handler);
    // Drops every control above (not the delay, not the forum's state).
    void clearControls();
    // The code a sign-up is answered with: "registration_complete" (the seed's
    // default), "registeremail" or "moderateuser".
    void setRegistrationOutcome(const QString& code);
    // The shape of the "member" answer: true puts the member's fields under
    // "response"."prepared" with only "userid" beside it, as some forums do.
    void setMemberFieldsUnderPrepared(bool prepared);
    // Whether sign-ups are checked against the children's-privacy rules
    // ("usecoppa" 1): a date of birth less than 13 years ago then needs a
    // parent's address. The seed's forum does not check.
    void setRegistrationUsesCoppa(bool uses);
    // A forum that checks dates and refuses children outright ("usecoppa" 2):
    // the date check of a child, and a child's sign-up, answer
    // "under_thirteen_registration_denied".
    void setRegistrationRefusesChildren();
    // A forum that takes no new members: "register", "register_checkdate"
    // and "register_addmember" answer "noregister".
    void setRegistrationClosed(bool closed);

    // Pictures, served at "<baseUrl>/images/<name>".
    void setPicture(const QString& name, const QByteArray& bytes);
    QByteArray picture(const QString& name) const;
    // The "Date" and "Last-Modified" text the picture is served with now.
    QString pictureDate(const QString& name) const;
    // Status 200 here means a body that is not a picture.
    void failPicture(const QString& name, int status, int times = 1);
    void omitPictureDate(const QString& name, int times = 1);

    // The raw routes, beside the forum, for the HTTP layer's own tests:
    //   /echo         200 "ok", whatever the method; the log keeps the exact body
    //   /missing      404 "not found here", in three chunks some time apart
    //   /notmodified  304
    //   /plist        200, an XML property list {name: forum}
    //   /broken       500 "broken"
    //   /gate/NAME    200 "gate NAME"; the answer waits until openGate(NAME)
    void openGate(const QString& name);
    int arrivedAtGate(const QString& name) const;

    // A client as if "api_init" had made it: for hand-signed requests in tests.
    void registerClient(const QString& clientId, const QString& secret, const QString& token);
    QString currentToken(const QString& clientId) const;
    QString secretForClient(const QString& clientId) const;
    int issuedTokenCount() const;
    // The member signed in on the token; 0 for a guest or an unknown token.
    int memberIdForToken(const QString& token) const;
    bool isTokenValid(const QString& token) const;
    // The member of that name (any case); 0 when there is none.
    int memberId(const QString& username) const;

    // What the forum holds now, for tests to check what a call changed.
    // {"threadid", "forumid", "title", "userid", "prefixid", "tags", "sticky",
    //  "closed", "approved", "deleted", "views", "posts": [post ids]}; {} when none.
    QJsonObject threadState(int threadid) const;
    // {"postid", "threadid", "userid", "title", "bbcode", "approved", "deleted",
    //  "editedby", "attachments": [{"attachmentid", "filename", "approved", "bytes"}]}.
    QJsonObject postState(int postid) const;
    // Every thread of the forum, whatever its state, newest activity first.
    QList<int> threadIdsIn(int forumid) const;
    QList<int> subscribedThreads(int userid) const;
    QList<int> subscribedForums(int userid) const;
    // [{"postid", "userid", "reason"}], oldest first.
    QJsonArray reports() const;
    QByteArray attachmentBytes(int attachmentid) const;

    // The log of requests, bounded: the last `maxEntries` requests, fewer when
    // their bodies, uploads and answers pass `maxBytes`; each of those is cut at
    // `maxItemBytes`.
    void setLogLimits(int maxEntries, qint64 maxBytes, qint64 maxItemBytes = 4LL * 1024 * 1024);
    QList<TestForumRequest> requests() const;
    QList<TestForumRequest> requests(const QString& apiMethod) const;
    void clearLog();
    void setRequestObserver(RequestObserver observer);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

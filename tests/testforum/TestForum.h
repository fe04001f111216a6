#pragma once

#include "TestForumRequest.h"

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

// A small forum that speaks the forum's mobile API on 127.0.0.1, for the tests
// and the demo. It checks every request signature, signs every answer, keeps API
// clients, tokens and signed-in members, serves pictures, and can be told to
// misbehave. The HTTP server runs on its own thread; every member is safe to call
// from the test's thread while requests are being answered.
//
// Controls that take `method` apply to the API method of that name, or to every
// API method when it is empty; `times` counts the matching requests they apply to
// (a negative count: all of them, until clearControls()).
class TestForum {
public:
    // Answers one API method the forum does not know, or replaces one of its
    // members' answers ("member", "profile_buddylist" and the like; the session
    // methods "api_init", "login_login" and "login_logout" stay the forum's own). Called on the server's thread, after the session
    // checks, with the request and the member signed in on its token (0 for a
    // guest); returns the whole JSON body.
    using MethodHandler = std::function<QJsonObject(const TestForumRequest& request, int memberId)>;

    // `seedPath` names the seed file; its pictures are in "images" beside it.
    // Besides the settings and the members, the seed may give each member
    // "profile" keys for the "member" answer, and "buddies" gives each
    // member's "friends", "contacts", "incoming" and "outgoing" requests by id.
    explicit TestForum(const QString& seedPath = {});
    ~TestForum();
    TestForum(const TestForum&) = delete;
    TestForum& operator=(const TestForum&) = delete;

    // Listens on 127.0.0.1; port 0 takes a free one. False when the port is taken
    // or the seed could not be read.
    bool start(int port = 0);
    void stop();
    bool isRunning() const;
    int port() const;
    // "http://127.0.0.1:<port>/forum": the base address the client is built with.
    QString baseUrl() const;
    QString seedPath() const;
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
    // The answer's "Authorization" does not match its body.
    void signWrongly(const QString& method, int times = 1);
    // Every answer, API or picture, waits this long.
    void setDelay(int ms);
    // Answers of this method wait this much longer (on top of setDelay).
    void delayMethod(const QString& method, int ms, int times = 1);
    // The connection is closed before the answer is complete.
    void dropConnection(const QString& method, int times = 1);
    // This body instead of the method's own answer (still after the session checks).
    void setAnswer(const QString& method, const QJsonObject& answer, int times = -1);
    void setMethodHandler(const QString& method, MethodHandler handler);
    // Drops every control above (not the delay, not the forum's state).
    void clearControls();

    // Pictures, served at "<baseUrl>/images/<name>".
    void setPicture(const QString& name, const QByteArray& bytes);
    QByteArray picture(const QString& name) const;
    // The "Date" and "Last-Modified" text the picture is served with now.
    QString pictureDate(const QString& name) const;
    // Status 200 here means a body that is not a picture.
    void failPicture(const QString& name, int status, int times = 1);
    void omitPictureDate(const QString& name, int times = 1);

    // A client as if "api_init" had made it: for hand-signed requests in tests.
    void registerClient(const QString& clientId, const QString& secret, const QString& token);
    QString currentToken(const QString& clientId) const;
    QString secretForClient(const QString& clientId) const;
    int issuedTokenCount() const;
    // The member signed in on the token; 0 for a guest or an unknown token.
    int memberIdForToken(const QString& token) const;
    bool isTokenValid(const QString& token) const;

    QList<TestForumRequest> requests() const;
    QList<TestForumRequest> requests(const QString& apiMethod) const;
    void clearLog();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

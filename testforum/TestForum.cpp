#include "TestForum.h"

#include "ForumBrowsing.h"
#include "ForumContent.h"
#include "ForumControls.h"
#include "ForumFeeds.h"
#include "ForumFormParser.h"
#include "ForumHttpServer.h"
#include "ForumMembers.h"
#include "ForumModeration.h"
#include "ForumPictures.h"
#include "ForumPosting.h"
#include "ForumRawRoutes.h"
#include "ForumRegistration.h"
#include "ForumRequestLog.h"
#include "ForumSearch.h"
#include "ForumSeed.h"
#include "ForumSessions.h"
#include "ForumSignature.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QUuid>

#include <chrono>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <thread>
#include <vector>

using namespace Qt::Literals::StringLiterals;

#ifndef TESTFORUM_DEFAULT_SEED
#define TESTFORUM_DEFAULT_SEED ""
#endif

namespace {

using Clock = std::chrono::steady_clock;

struct Answer {
    int status = 200;
    QByteArray body;
    std::string contentType = "application/json; charset=utf-8";
};

QString fromStd(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

std::string toStd(const QString& text)
{
    return text.toUtf8().toStdString();
}

QByteArray compact(const QJsonValue& value)
{
    return value.isArray() ? QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact)
                           : QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
}

QJsonObject errorAnswer(const QJsonValue& errormessage)
{
    return {{u"response"_s, QJsonObject{{u"errormessage"_s, errormessage}}}};
}

// The calls that make a new post, which the forum's flood check holds back.
bool isNewPost(const QString& method)
{
    return method == u"newthread_postthread" || method == u"newreply_postreply";
}

QString randomHex()
{
    return QUuid::createUuid().toString(QUuid::Id128);
}

// The request the current server thread has handed to one of the forum's own
// handlers, to tell them from requests the HTTP layer refused by itself.
thread_local const httplib::Request* handledRequest = nullptr;

}  // namespace

struct TestForum::Impl {
    QString seedPath;
    QJsonObject seed;
    bool seedOk = false;
    QString seedProblem;

    // The forum's state, in the order it is built.
    ForumMembers members;
    ForumContent content{members};
    ForumBrowsing browsing{content};
    ForumFeeds feeds{content};
    ForumPosting posting{content};
    ForumModeration moderation{content};
    ForumSearch search{content};
    ForumRegistration registration{content};

    ForumHttpServer server;
    std::thread thread;
    // Calls carried out after their connection has closed (storeLate).
    std::vector<std::thread> lateCalls;
    int port = 0;
    bool running = false;

    // One lock for all forum state; recursive because method handlers may call back.
    mutable std::recursive_mutex mutex;
    std::condition_variable_any stopping;
    bool stopRequested = false;

    ForumRawRoutes raw{mutex, stopping, stopRequested};
    ForumPictures pictures;
    ForumSessions sessions;
    ForumControls controls;
    QHash<QString, MethodHandler> handlers;
    ForumRequestLog log;
    RequestObserver observer;
    bool closed = false;
    QString closedReason;
    int delayMs = 0;

    void loadSeed();
    void route();

    TestForumRequest describe(const httplib::Request& request) const;
    qint64 record(TestForumRequest entry);
    void finish(qint64 number, int status, const QByteArray& answer, Clock::time_point started);
    void wait(int ms);
    static void dropAfterHead(httplib::Response& response);
    // Carries the call out once the gate opens, on a thread of its own.
    void carryOutLate(const TestForumRequest& entry, qint64 number, const QString& gate);

    void handleApi(const httplib::Request& request, httplib::Response& response);
    Answer answerApi(TestForumRequest& entry, qint64 number, const std::optional<ForumControls::Rule>& statusRule);
    QJsonValue dispatch(const TestForumRequest& entry);
    QJsonObject apiInit(const TestForumRequest& entry);
    QJsonObject login(const TestForumRequest& entry);
    QJsonObject logout(const TestForumRequest& entry);

    void handlePicture(const httplib::Request& request, httplib::Response& response);
    void handleAttachment(const httplib::Request& request, httplib::Response& response);
    void servePicture(const TestForumRequest& entry, qint64 number, Clock::time_point started,
                      const std::optional<ForumPictures::Picture>& picture, const std::string& type, int failStatus,
                      bool omitDate, httplib::Response& response);

    void addRule(ForumControls::Kind kind, const QString& target, int times,
                 const std::function<void(ForumControls::Rule&)>& fill = {});

    QString baseUrl() const { return u"http://127.0.0.1:%1/forum"_s.arg(port); }
};

void TestForum::Impl::loadSeed()
{
    QFile file(seedPath);
    if (!file.open(QIODevice::ReadOnly)) {
        seedProblem = u"cannot read %1"_s.arg(seedPath);
        return;
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        seedProblem = u"%1 is not a JSON object: %2 at byte %3"_s.arg(seedPath, error.errorString()).arg(error.offset);
        return;
    }
    seed = document.object();
    members.load(seed);
    if (!ForumSeed(content, QFileInfo(seedPath).absolutePath()).load(seed, &seedProblem))
        return;
    registration.load(seed);
    const QJsonObject settings = seed.value(u"settings"_s).toObject();
    closed = !settings.value(u"bbactive"_s).toBool(true);
    closedReason = settings.value(u"bbclosedreason"_s).toString();
    pictures.loadFolder(QFileInfo(seedPath).absolutePath() + u"/images"_s);
    seedOk = true;
}

void TestForum::Impl::route()
{
    // One request per connection: an idle kept-alive connection would hold up stop().
    server.set_keep_alive_max_count(1);
    server.set_payload_max_length(64 * 1024 * 1024);
    // Gates and delays hold a thread each while they wait.
    server.new_task_queue = [] { return new httplib::ThreadPool(32); };
    const auto api = [this](const httplib::Request& request, httplib::Response& response) {
        handleApi(request, response);
    };
    server.Get("/forum/api.php", api);
    // The body is read here, not by the HTTP layer, which refuses form bodies
    // past 8 kB: a long post is as welcome as on a forum.
    server.Post("/forum/api.php", [this](const httplib::Request& request, httplib::Response& response,
                                         const httplib::ContentReader& reader) {
        httplib::Request whole = request;
        bool read = true;
        if (request.is_multipart_form_data()) {
            httplib::MultipartFormDataItems parts;
            read = reader(
                [&](const httplib::MultipartFormData& part) {
                    parts.push_back(part);
                    return true;
                },
                [&](const char* data, std::size_t length) {
                    parts.back().content.append(data, length);
                    return true;
                });
            for (const httplib::MultipartFormData& part : parts)
                whole.files.emplace(part.name, part);
        } else {
            read = reader([&](const char* data, std::size_t length) {
                whole.body.append(data, length);
                return true;
            });
        }
        // A body that cannot be parsed is refused as the HTTP layer refuses it.
        if (!read) {
            response.status = 400;
            return;
        }
        handleApi(whole, response);
        handledRequest = &request;
    });
    server.Get(R"(/forum/images/(.+))", [this](const httplib::Request& request, httplib::Response& response) {
        handlePicture(request, response);
    });
    server.Get("/forum/attachment.php", [this](const httplib::Request& request, httplib::Response& response) {
        handleAttachment(request, response);
    });
    raw.install(server, ForumRawRoutes::Log{
                            [this](const httplib::Request& request) {
                                handledRequest = &request;
                                return record(describe(request));
                            },
                            [this](qint64 number, int status, const QByteArray& answer) {
                                finish(number, status, answer, Clock::now());
                            }});
    // A body the HTTP layer cannot parse (say, a multipart body without its
    // closing delimiter) is answered 400 before any handler runs: log it anyway.
    server.set_error_handler(httplib::Server::HandlerWithResponse(
        [this](const httplib::Request& request, httplib::Response& response) {
        if (handledRequest != &request) {
            TestForumRequest entry = describe(request);
            entry.status = response.status;
            record(entry);
        }
        return httplib::Server::HandlerResponse::Unhandled;
    }));
    server.set_logger([](const httplib::Request&, const httplib::Response&) { handledRequest = nullptr; });
}

TestForumRequest TestForum::Impl::describe(const httplib::Request& request) const
{
    TestForumRequest entry;
    entry.httpMethod = fromStd(request.method);
    entry.path = fromStd(request.path);
    const std::string& target = request.target;
    const std::size_t question = target.find('?');
    if (question != std::string::npos)
        entry.rawQuery = QByteArray::fromStdString(target.substr(question + 1));
    for (const auto& [name, value] : request.headers)
        entry.headers.insert(fromStd(name).toLower(), fromStd(value));

    // The body as it came on the wire, so that a multipart body can be checked
    // byte for byte; a chunked body as the HTTP layer joined it.
    const std::string wire = ForumHttpServer::wireBytes();
    const std::size_t headEnd = wire.find("\r\n\r\n");
    if (headEnd == std::string::npos || entry.header(u"transfer-encoding"_s).contains(u"chunked"_s))
        entry.body = QByteArray::fromStdString(request.body);
    else
        entry.body = QByteArray(wire.data() + headEnd + 4, qsizetype(wire.size() - headEnd - 4));

    entry.queryPairs = ForumFormParser::decodePairs(entry.rawQuery);
    for (const auto& [key, value] : entry.queryPairs)
        entry.queryFields.insert(key, value);
    // The HTTP layer has already taken a multipart body apart; its text fields
    // are read again from the body, to keep their order.
    for (const auto& [name, part] : request.files) {
        if (!part.filename.empty()) {
            entry.uploads.append(TestForumUpload{fromStd(part.name), fromStd(part.filename),
                                                 fromStd(part.content_type),
                                                 QByteArray::fromStdString(part.content)});
        }
    }
    if (request.is_multipart_form_data()) {
        const QString type = entry.header(u"content-type"_s);
        const qsizetype at = type.indexOf(u"boundary="_s);
        const QString boundary = at < 0 ? QString() : type.mid(at + 9).section(u';', 0, 0).remove(u'"');
        entry.formPairs = ForumFormParser::multipartFields(entry.body, boundary.toUtf8());
    } else if (entry.httpMethod == u"POST") {
        entry.formPairs = ForumFormParser::decodePairs(entry.body);
    }
    entry.fields = entry.queryFields;
    for (const auto& [key, value] : entry.formPairs)
        entry.fields.insert(key, value);

    entry.apiMethod = entry.queryFields.value(u"api_m"_s);
    entry.token = entry.queryFields.value(u"api_s"_s);
    entry.clientId = entry.queryFields.value(u"api_c"_s);
    entry.hasSignature = entry.queryFields.contains(u"api_sig"_s);
    return entry;
}

qint64 TestForum::Impl::record(TestForumRequest entry)
{
    std::lock_guard lock(mutex);
    entry.memberId = sessions.memberId(entry.token);
    return log.record(std::move(entry));
}

void TestForum::Impl::finish(qint64 number, int status, const QByteArray& answer, Clock::time_point started)
{
    std::optional<TestForumRequest> done;
    RequestObserver notify;
    {
        std::lock_guard lock(mutex);
        log.finish(number, status, answer);
        if (TestForumRequest* entry = log.find(number)) {
            entry->elapsedMs =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count();
            if (observer)
                done = *entry;
        }
        notify = observer;
    }
    if (notify && done)
        notify(*done);
}

void TestForum::Impl::wait(int ms)
{
    if (ms <= 0)
        return;
    std::unique_lock lock(mutex);
    stopping.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopRequested; });
}

void TestForum::Impl::dropAfterHead(httplib::Response& response)
{
    // The head goes out promising a body that never comes; the connection is closed.
    response.set_content_provider(
        64, "application/json",
        [](std::size_t, std::size_t, httplib::DataSink&) { return false; });
}

void TestForum::Impl::carryOutLate(const TestForumRequest& entry, qint64 number, const QString& gate)
{
    std::lock_guard lock(mutex);
    lateCalls.emplace_back([this, entry = TestForumRequest(entry), number, gate]() mutable {
        raw.waitAtGate(gate);
        std::lock_guard late(mutex);
        if (stopRequested)
            return;
        // The log keeps what would have been answered; the status stays a drop.
        const Answer answer = answerApi(entry, number, std::nullopt);
        log.finish(number, -1, answer.body);
    });
}

void TestForum::Impl::handleApi(const httplib::Request& request, httplib::Response& response)
{
    handledRequest = &request;
    const Clock::time_point started = Clock::now();
    TestForumRequest entry = describe(request);
    const qint64 number = record(entry);
    int delay = 0;
    std::optional<ForumControls::Rule> dropRule;
    std::optional<ForumControls::Rule> statusRule;
    QString gate;
    QString lateGate;
    {
        std::lock_guard lock(mutex);
        if (const auto rule = controls.take(ForumControls::Kind::StoreLate, entry.apiMethod))
            lateGate = rule->gate;
        delay = delayMs;
        if (const auto rule = controls.take(ForumControls::Kind::Delay, entry.apiMethod))
            delay += rule->delayMs;
        dropRule = controls.take(ForumControls::Kind::Drop, entry.apiMethod);
        if (!dropRule)
            statusRule = controls.take(ForumControls::Kind::HttpStatus, entry.apiMethod);
        if (const auto rule = controls.take(ForumControls::Kind::Gate, entry.apiMethod))
            gate = rule->gate;
    }
    if (!lateGate.isEmpty()) {
        finish(number, -1, {}, started);
        carryOutLate(entry, number, lateGate);
        ForumHttpServer::abortConnection();
        return;
    }
    wait(delay);
    if (!gate.isEmpty())
        raw.waitAtGate(gate);
    const Drop where = dropRule ? Drop(dropRule->where) : Drop::AfterHead;
    if (dropRule && where != Drop::MidBody && where != Drop::AfterHandling) {
        finish(number, -1, {}, started);
        if (where == Drop::BeforeAnswer)
            ForumHttpServer::abortConnection();
        else
            dropAfterHead(response);
        return;
    }

    Answer answer;
    QString signature;
    bool unsigned_ = false;
    {
        std::lock_guard lock(mutex);
        answer = answerApi(entry, number, statusRule);
        const QString secret = sessions.secret(entry.clientId);
        signature = ForumSignature::responseSignature(answer.body, entry.token, entry.clientId, secret);
        if (const auto rule = controls.take(ForumControls::Kind::SignWrongly, entry.apiMethod)) {
            unsigned_ = rule->omit;
            signature = ForumSignature::md5Hex(signature.toLatin1());
        }
    }
    if (dropRule && where == Drop::AfterHandling) {
        // The log keeps what would have been answered.
        finish(number, -1, answer.body, started);
        ForumHttpServer::abortConnection();
        return;
    }
    response.status = answer.status;
    if (!unsigned_)
        response.set_header("Authorization", toStd(signature));
    if (dropRule) {
        // Half of the body, then the connection closes.
        finish(number, -1, answer.body.left(answer.body.size() / 2), started);
        const auto body = std::make_shared<std::string>(answer.body.toStdString());
        response.set_content_provider(body->size(), answer.contentType,
                                      [body](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                          if (offset == 0)
                                              sink.write(body->data(), body->size() / 2);
                                          return false;
                                      });
        return;
    }
    finish(number, answer.status, answer.body, started);
    response.set_content(answer.body.toStdString(), answer.contentType);
}

Answer TestForum::Impl::answerApi(TestForumRequest& entry, qint64 number,
                                  const std::optional<ForumControls::Rule>& statusRule)
{
    const bool init = entry.apiMethod == u"api_init";
    const bool knownClient = sessions.hasClient(entry.clientId);
    if (entry.hasSignature && knownClient) {
        const QString expected = ForumSignature::requestSignature(
            entry.rawQuery, entry.token, entry.clientId, sessions.secret(entry.clientId));
        entry.signatureValid = expected == entry.queryFields.value(u"api_sig"_s);
    }
    if (TestForumRequest* logEntry = log.find(number))
        logEntry->signatureValid = entry.signatureValid;

    if (statusRule) {
        Answer answer;
        answer.status = statusRule->status;
        answer.body = statusRule->body;
        if (!QJsonDocument::fromJson(answer.body).isObject())
            answer.contentType = "text/html; charset=utf-8";
        return answer;
    }

    QJsonValue body;
    const bool hasSession = !entry.token.isEmpty() && !entry.clientId.isEmpty();
    // An "api_init" from a known client is signed like any call; a new client has
    // no secret to sign with yet.
    const bool needsSignature = !init || (knownClient && entry.hasSignature);
    if (closed && !init)
        body = errorAnswer(QJsonArray{u"bbclosed"_s, closedReason});
    else if (!init && (!hasSession || !sessions.isValid(entry.token, entry.clientId)))
        body = errorAnswer(u"invalid_accesstoken"_s);
    else if (needsSignature && !entry.signatureValid)
        body = errorAnswer(u"invalid_api_signature"_s);
    else if (const auto rule = controls.take(ForumControls::Kind::Error, entry.apiMethod))
        body = errorAnswer(rule->error);
    else if (const auto rule = entry.uploads.isEmpty() ? std::nullopt
                                                       : controls.take(ForumControls::Kind::RefuseUpload, QString()))
        body = errorAnswer(QJsonArray{rule->error});
    else if (const auto rule = isNewPost(entry.apiMethod) ? controls.take(ForumControls::Kind::FloodCheck, QString())
                                                          : std::nullopt)
        // The forum's phrase with its two numbers: the interval and the seconds left.
        body = errorAnswer(QJsonArray{u"postfloodcheck"_s, QString::number(rule->seconds),
                                      QString::number(qMax(1, rule->seconds - 1))});
    else if (const auto rule = controls.take(ForumControls::Kind::Answer, entry.apiMethod))
        body = rule->answer;
    else if (const auto rule = controls.take(ForumControls::Kind::RawAnswer, entry.apiMethod))
        return Answer{200, rule->body};
    else
        body = dispatch(entry);
    return Answer{200, compact(body)};
}

QJsonValue TestForum::Impl::dispatch(const TestForumRequest& entry)
{
    const QString& method = entry.apiMethod;
    if (method == u"api_init")
        return apiInit(entry);
    if (method == u"login_login")
        return login(entry);
    if (method == u"login_logout")
        return logout(entry);
    const int memberId = sessions.memberId(entry.token);
    if (const auto handler = handlers.constFind(method); handler != handlers.constEnd())
        return (*handler)(entry, memberId);
    const auto store = [this](const QString& name, const QByteArray& bytes) { pictures.store(name, bytes); };
    if (const auto answer = members.answer(entry, memberId, store))
        return *answer;
    const ForumViewer viewer = content.viewer(memberId, entry.field(u"forumpwdmd5"_s));
    if (auto answer = browsing.answer(entry, viewer))
        return *answer;
    if (auto answer = feeds.answer(entry, viewer))
        return *answer;
    if (auto answer = posting.answer(entry, viewer))
        return *answer;
    if (auto answer = moderation.answer(entry, viewer))
        return *answer;
    if (auto answer = search.answer(entry, viewer))
        return *answer;
    if (auto answer = registration.answer(entry, viewer))
        return *answer;
    return errorAnswer(u"invalid_api_method"_s);
}

QJsonObject TestForum::Impl::apiInit(const TestForumRequest& entry)
{
    const ForumSessions::Opened opened = sessions.open(entry.clientId);
    const QJsonObject settings = seed.value(u"settings"_s).toObject();
    const QString bburl = settings.value(u"bburl"_s).toString();
    return {
        {u"apiaccesstoken"_s, opened.token},
        {u"secret"_s, opened.secret},
        {u"apiclientid"_s, opened.clientId.toInt()},
        {u"apiversion"_s, settings.value(u"apiversion"_s).toInt(6)},
        {u"bbtitle"_s, settings.value(u"bbtitle"_s).toString()},
        {u"bburl"_s, bburl.isEmpty() ? baseUrl() : bburl},
        {u"bbactive"_s, !closed},
        {u"murmoraversion"_s, settings.value(u"murmoraversion"_s).toString()},
        {u"bbclosedreason"_s, closedReason},
        {u"forumhome"_s, settings.value(u"forumhome"_s).toString()},
        {u"show"_s, settings.value(u"show"_s).toObject()},
        {u"features"_s, settings.value(u"features"_s).toObject()},
        {u"contenttypes"_s, settings.value(u"contenttypes"_s).toObject()},
    };
}

QJsonObject TestForum::Impl::login(const TestForumRequest& entry)
{
    const ForumMember* member = members.authenticate(entry.field(u"mu_login_username"_s),
                                                     entry.field(u"mu_login_md5password_utf"_s));
    if (!member)
        return errorAnswer(QJsonArray{u"badlogin"_s});
    sessions.bind(entry.token, member->userid);
    const QString userid = QString::number(member->userid);
    return {
        {u"session"_s, QJsonObject{{u"userid"_s, userid}, {u"dbsessionhash"_s, randomHex()}}},
        {u"response"_s, QJsonObject{{u"errormessage"_s, u"redirect_login"_s},
                                    {u"userid"_s, userid},
                                    {u"username"_s, member->username},
                                    {u"usertitle"_s, member->usertitle},
                                    {u"avatarurl"_s, member->avatarurl}}},
    };
}

QJsonObject TestForum::Impl::logout(const TestForumRequest& entry)
{
    sessions.bind(entry.token, 0);
    return {
        {u"session"_s, QJsonObject{{u"userid"_s, u"0"_s}, {u"dbsessionhash"_s, u""_s}}},
        {u"response"_s, QJsonObject{{u"errormessage"_s, u"cookieclear"_s}}},
    };
}

void TestForum::Impl::handlePicture(const httplib::Request& request, httplib::Response& response)
{
    handledRequest = &request;
    const Clock::time_point started = Clock::now();
    const TestForumRequest entry = describe(request);
    const qint64 number = record(entry);
    const QString name = fromStd(request.matches[1].str());

    int delay = 0;
    int failStatus = 0;
    bool omitDate = false;
    std::optional<ForumPictures::Picture> picture;
    {
        std::lock_guard lock(mutex);
        delay = delayMs;
        if (const auto failure = controls.take(ForumControls::Kind::PictureFail, name))
            failStatus = failure->status;
        else
            omitDate = controls.take(ForumControls::Kind::PictureNoDate, name).has_value();
        picture = pictures.find(name);
    }
    wait(delay);
    servePicture(entry, number, started, picture, ForumPictures::typeOf(name), failStatus, omitDate, response);
}

void TestForum::Impl::handleAttachment(const httplib::Request& request, httplib::Response& response)
{
    handledRequest = &request;
    const Clock::time_point started = Clock::now();
    const TestForumRequest entry = describe(request);
    const qint64 number = record(entry);
    int delay = 0;
    std::optional<ForumPictures::Picture> picture;
    std::string type;
    {
        std::lock_guard lock(mutex);
        delay = delayMs;
        const ForumAttachment* attachment = content.attachment(entry.field(u"attachmentid"_s).toInt());
        if (attachment && attachment->linkUrl.isEmpty()) {
            picture = ForumPictures::Picture{attachment->bytes, attachment->stamp};
            type = toStd(attachment->contentType);
        }
    }
    wait(delay);
    servePicture(entry, number, started, picture, type, 0, false, response);
}

void TestForum::Impl::servePicture(const TestForumRequest& entry, qint64 number, Clock::time_point started,
                                   const std::optional<ForumPictures::Picture>& picture, const std::string& type,
                                   int failStatus, bool omitDate, httplib::Response& response)
{
    const ForumPictures::Served served = ForumPictures::serve(
        picture, type, entry.header(u"if-modified-since"_s), failStatus, omitDate);
    finish(number, served.status, served.body, started);
    response.status = served.status;
    for (const auto& [name, value] : served.headers)
        response.set_header(name, value);
    if (served.status != 304)
        response.set_content(served.body.toStdString(), served.type);
}

void TestForum::Impl::addRule(ForumControls::Kind kind, const QString& target, int times,
                              const std::function<void(ForumControls::Rule&)>& fill)
{
    ForumControls::Rule rule;
    rule.kind = kind;
    rule.target = target;
    rule.remaining = times;
    if (fill)
        fill(rule);
    std::lock_guard lock(mutex);
    controls.add(rule);
}

TestForum::TestForum(const QString& seedPath)
    : d(std::make_unique<Impl>())
{
    d->seedPath = seedPath.isEmpty() ? QString::fromUtf8(TESTFORUM_DEFAULT_SEED) : seedPath;
    d->loadSeed();
    d->route();
}

TestForum::~TestForum()
{
    stop();
}

bool TestForum::start(int port)
{
    if (d->running || !d->seedOk)
        return false;
    if (port == 0) {
        d->port = d->server.bind_to_any_port("127.0.0.1");
        if (d->port <= 0)
            return false;
    } else {
        if (!d->server.bind_to_port("127.0.0.1", port))
            return false;
        d->port = port;
    }
    {
        std::lock_guard lock(d->mutex);
        d->stopRequested = false;
    }
    // The socket listens from the bind on, so requests made before the thread
    // runs wait in the backlog.
    d->thread = std::thread([this] { d->server.listen_after_bind(); });
    // The server only takes a stop once it runs: wait for that, so that a
    // forum stopped right after its start never leaves its thread behind.
    for (int i = 0; i < 5000 && !d->server.is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    d->running = true;
    return true;
}

void TestForum::stop()
{
    if (!d->running)
        return;
    {
        std::lock_guard lock(d->mutex);
        d->stopRequested = true;
    }
    d->stopping.notify_all();
    d->server.stop();
    if (d->thread.joinable())
        d->thread.join();
    // The stop has opened every gate; the late calls give up.
    std::vector<std::thread> late;
    {
        std::lock_guard lock(d->mutex);
        late.swap(d->lateCalls);
    }
    for (std::thread& call : late)
        call.join();
    d->running = false;
}

bool TestForum::isRunning() const
{
    return d->running;
}

int TestForum::port() const
{
    return d->port;
}

QString TestForum::baseUrl() const
{
    return d->baseUrl();
}

QUrl TestForum::url(const QString& pathAndQuery) const
{
    return QUrl(u"http://127.0.0.1:%1%2"_s.arg(d->port).arg(pathAndQuery));
}

QString TestForum::seedPath() const
{
    return d->seedPath;
}

QString TestForum::seedProblem() const
{
    return d->seedProblem;
}

QJsonObject TestForum::seed() const
{
    return d->seed;
}

void TestForum::expireToken()
{
    std::lock_guard lock(d->mutex);
    d->sessions.expireAll();
}

void TestForum::answerInvalidSessionHash(const QString& method, int times)
{
    answerError(method, u"invalid_sessionhash"_s, times);
}

void TestForum::closeForum(const QString& reason)
{
    std::lock_guard lock(d->mutex);
    d->closed = true;
    d->closedReason = reason;
}

void TestForum::openForum()
{
    std::lock_guard lock(d->mutex);
    d->closed = false;
}

bool TestForum::isClosed() const
{
    std::lock_guard lock(d->mutex);
    return d->closed;
}

void TestForum::answerError(const QString& method, const QJsonValue& errormessage, int times)
{
    d->addRule(ForumControls::Kind::Error, method, times,
               [&](ForumControls::Rule& rule) { rule.error = errormessage; });
}

void TestForum::refuseUploads(const QString& reason, int times)
{
    d->addRule(ForumControls::Kind::RefuseUpload, QString(), times,
               [&](ForumControls::Rule& rule) { rule.error = reason; });
}

void TestForum::refusePostsAsFlood(int seconds, int times)
{
    d->addRule(ForumControls::Kind::FloodCheck, QString(), times,
               [&](ForumControls::Rule& rule) { rule.seconds = seconds; });
}

void TestForum::answerHttpStatus(const QString& method, int status, const QByteArray& body, int times)
{
    d->addRule(ForumControls::Kind::HttpStatus, method, times, [&](ForumControls::Rule& rule) {
        rule.status = status;
        rule.body = body;
    });
}

void TestForum::signWrongly(const QString& method, int times)
{
    d->addRule(ForumControls::Kind::SignWrongly, method, times);
}

void TestForum::omitSignature(const QString& method, int times)
{
    d->addRule(ForumControls::Kind::SignWrongly, method, times, [](ForumControls::Rule& rule) { rule.omit = true; });
}

void TestForum::setDelay(int ms)
{
    std::lock_guard lock(d->mutex);
    d->delayMs = ms;
}

void TestForum::delayMethod(const QString& method, int ms, int times)
{
    d->addRule(ForumControls::Kind::Delay, method, times, [&](ForumControls::Rule& rule) { rule.delayMs = ms; });
}

void TestForum::dropConnection(const QString& method, int times, Drop where)
{
    d->addRule(ForumControls::Kind::Drop, method, times, [&](ForumControls::Rule& rule) { rule.where = int(where); });
}

void TestForum::holdAtGate(const QString& method, const QString& gate, int times)
{
    d->addRule(ForumControls::Kind::Gate, method, times, [&](ForumControls::Rule& rule) { rule.gate = gate; });
}

void TestForum::storeLate(const QString& method, const QString& gate, int times)
{
    d->addRule(ForumControls::Kind::StoreLate, method, times, [&](ForumControls::Rule& rule) { rule.gate = gate; });
}

void TestForum::setAnswer(const QString& method, const QJsonObject& answer, int times)
{
    d->addRule(ForumControls::Kind::Answer, method, times,
               [&](ForumControls::Rule& rule) { rule.answer = answer; });
}

void TestForum::setRawAnswer(const QString& method, const QByteArray& body, int times)
{
    d->addRule(ForumControls::Kind::RawAnswer, method, times, [&](ForumControls::Rule& rule) { rule.body = body; });
}

void TestForum::setMethodHandler(const QString& method, MethodHandler handler)
{
    std::lock_guard lock(d->mutex);
    if (handler)
        d->handlers.insert(method, std::move(handler));
    else
        d->handlers.remove(method);
}

void TestForum::clearControls()
{
    std::lock_guard lock(d->mutex);
    d->controls.clear();
}

void TestForum::setRegistrationUsesCoppa(bool uses)
{
    std::lock_guard lock(d->mutex);
    d->registration.setUsesCoppa(uses);
}

void TestForum::setRegistrationRefusesChildren()
{
    std::lock_guard lock(d->mutex);
    d->registration.setRefusesChildren();
}

void TestForum::setRegistrationClosed(bool closed)
{
    std::lock_guard lock(d->mutex);
    d->registration.setClosed(closed);
}

void TestForum::setRegistrationOutcome(const QString& code)
{
    std::lock_guard lock(d->mutex);
    d->registration.setOutcome(code);
}

void TestForum::setMemberFieldsUnderPrepared(bool prepared)
{
    std::lock_guard lock(d->mutex);
    d->members.setFieldsUnderPrepared(prepared);
}

void TestForum::setPicture(const QString& name, const QByteArray& bytes)
{
    std::lock_guard lock(d->mutex);
    d->pictures.replace(name, bytes);
}

QByteArray TestForum::picture(const QString& name) const
{
    std::lock_guard lock(d->mutex);
    return d->pictures.bytes(name);
}

QString TestForum::pictureDate(const QString& name) const
{
    std::lock_guard lock(d->mutex);
    return d->pictures.dateOf(name);
}

void TestForum::failPicture(const QString& name, int status, int times)
{
    d->addRule(ForumControls::Kind::PictureFail, name, times,
               [&](ForumControls::Rule& rule) { rule.status = status; });
}

void TestForum::omitPictureDate(const QString& name, int times)
{
    d->addRule(ForumControls::Kind::PictureNoDate, name, times);
}

void TestForum::openGate(const QString& name)
{
    std::lock_guard lock(d->mutex);
    d->raw.open(name);
}

int TestForum::arrivedAtGate(const QString& name) const
{
    std::lock_guard lock(d->mutex);
    return d->raw.arrived(name);
}

void TestForum::registerClient(const QString& clientId, const QString& secret, const QString& token)
{
    std::lock_guard lock(d->mutex);
    d->sessions.registerClient(clientId, secret, token);
}

QString TestForum::currentToken(const QString& clientId) const
{
    std::lock_guard lock(d->mutex);
    return d->sessions.currentToken(clientId);
}

QString TestForum::secretForClient(const QString& clientId) const
{
    std::lock_guard lock(d->mutex);
    return d->sessions.secret(clientId);
}

int TestForum::issuedTokenCount() const
{
    std::lock_guard lock(d->mutex);
    return d->sessions.issuedCount();
}

int TestForum::memberIdForToken(const QString& token) const
{
    std::lock_guard lock(d->mutex);
    return d->sessions.memberId(token);
}

bool TestForum::isTokenValid(const QString& token) const
{
    std::lock_guard lock(d->mutex);
    return d->sessions.isValid(token);
}

int TestForum::memberId(const QString& username) const
{
    std::lock_guard lock(d->mutex);
    const ForumMember* member = d->members.findByName(username);
    return member ? member->userid : 0;
}

QJsonObject TestForum::threadState(int threadid) const
{
    std::lock_guard lock(d->mutex);
    return d->content.threadSnapshot(threadid);
}

QJsonObject TestForum::postState(int postid) const
{
    std::lock_guard lock(d->mutex);
    return d->content.postSnapshot(postid);
}

QList<int> TestForum::threadIdsIn(int forumid) const
{
    std::lock_guard lock(d->mutex);
    // A moderator who is a member (the members' forums too) and no one's author.
    ForumViewer everything;
    everything.moderator = true;
    everything.userid = std::numeric_limits<int>::max();
    QList<int> ids;
    for (bool sticky : {true, false}) {
        for (const ForumThread* thread : d->content.threadsOf(forumid, everything, sticky))
            ids.append(thread->threadid);
    }
    return ids;
}

QList<int> TestForum::subscribedThreads(int userid) const
{
    std::lock_guard lock(d->mutex);
    return d->content.stateOf(userid).threadSubscriptions.keys();
}

QList<int> TestForum::subscribedForums(int userid) const
{
    std::lock_guard lock(d->mutex);
    return d->content.stateOf(userid).forumSubscriptions.keys();
}

QJsonArray TestForum::reports() const
{
    std::lock_guard lock(d->mutex);
    QJsonArray list;
    for (const ForumReport& report : d->content.reports()) {
        list.append(QJsonObject{{u"postid"_s, report.postid},
                                {u"userid"_s, report.userid},
                                {u"reason"_s, report.reason}});
    }
    return list;
}

QByteArray TestForum::attachmentBytes(int attachmentid) const
{
    std::lock_guard lock(d->mutex);
    const ForumAttachment* attachment = d->content.attachment(attachmentid);
    return attachment ? attachment->bytes : QByteArray();
}

void TestForum::setLogLimits(int maxEntries, qint64 maxBytes, qint64 maxItemBytes)
{
    std::lock_guard lock(d->mutex);
    d->log.setLimits({maxEntries, maxBytes, maxItemBytes});
}

QList<TestForumRequest> TestForum::requests() const
{
    std::lock_guard lock(d->mutex);
    return d->log.all();
}

QList<TestForumRequest> TestForum::requests(const QString& apiMethod) const
{
    std::lock_guard lock(d->mutex);
    return d->log.forMethod(apiMethod);
}

void TestForum::clearLog()
{
    std::lock_guard lock(d->mutex);
    d->log.clear();
}

void TestForum::setRequestObserver(RequestObserver observer)
{
    std::lock_guard lock(d->mutex);
    d->observer = std::move(observer);
}

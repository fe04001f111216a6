#include "app/net/RequestOutcome.h"

#include "app/config/ErrorMessages.h"
#include "platform/foundation/Localized.h"
#include "platform/foundation/Log.h"

#include <functional>

namespace {

// Step (c) of the code search: "postpreview"."errorlist"."errormessage". An
// error list that is a list gives the list of its elements' codes.
Lookup previewErrorCode(const Value& response)
{
    const Lookup errorList = response.lookup({u"postpreview", u"errorlist"});
    if (!errorList.found() || !errorList.value.isList())
        return response.lookup({u"postpreview", u"errorlist", u"errormessage"});
    ValueList codes;
    for (const Value& element : errorList.value.list()) {
        if (!element.isDict())
            return Lookup{Lookup::Status::Failed, Value()};
        const Value code = element[u"errormessage"];
        codes.push_back(code.isAbsent() ? Value::null() : code);
    }
    return Lookup{Lookup::Status::Found, Value(std::move(codes))};
}

// The code an error list names, searched in order while none is found; a
// lookup that fails ends the search with no code.
Value errorListCode(const Value& response)
{
    const std::function<Lookup()> searches[] = {
        [&] { return response.lookup({u"errorlist", 0}); },
        [&] { return response.lookup({u"response", u"errorlist", 0}); },
        [&] { return previewErrorCode(response); },
    };
    for (const auto& search : searches) {
        const Lookup found = search();
        if (found.failed())
            return Value();
        if (found.found())
            return found.value;
    }
    return Value();
}

// The text the forum gives with its code ([code, text]), for the user.
QString forumOwnText(const Value& errormessage)
{
    if (!errormessage.isList() || errormessage.size() != 2 || !errormessage.at(1).isString())
        return QString();
    return errormessage.at(1).string().trimmed();
}

QString tableText(const QString& code)
{
    return ErrorMessages::errorForCode(Value(code));
}

}  // namespace

RequestOutcome RequestOutcome::judgeAnswer(const Value& json, int status)
{
    const Value response = json[u"response"];

    RequestOutcome outcome(Kind::Ok, status);
    if (response.isDict()) {
        outcome.m_dictionary = response;
    } else if (response.isList()) {
        // Only a dictionary can fill a model; any other last element is an
        // answer with nothing to fill.
        const Value last = response.at(response.size() - 1);
        if (last.isDict())
            outcome.m_dictionary = last;
    } else if (!response.isNothing()) {
        MU_LOG(Log::network, QStringLiteral("Invalid response: Didn't get a valid JSON response"));
        return RequestOutcome(Kind::Undecodable, status);
    }

    Value code = outcome.m_dictionary[u"errormessage"];
    outcome.m_errorMessage = code;
    CodeSource source = code.isAbsent() ? CodeSource::None : CodeSource::ErrorMessage;
    const QString forumText = forumOwnText(code);
    if (code.isAbsent() && response.isDict()) {
        code = errorListCode(response);
        if (!code.isAbsent()) {
            source = CodeSource::ErrorList;
            outcome.m_errorListCodes = code.isList() ? code.list() : ValueList{code};
        }
    }
    if (code.isList())
        code = code.at(0);

    outcome.m_contentKind = Kind::Ok;
    if (!code.isString())
        return outcome;
    outcome.m_answerCode = code.string();
    const QString text = ErrorMessages::errorForCode(code);
    // A code the table does not know is one of the forum's success codes
    // when it stands as the answer's "errormessage"; in an error list every
    // code fails.
    if (source == CodeSource::ErrorMessage && text.isNull())
        return outcome;
    outcome.m_kind = Kind::ForumRefused;
    outcome.m_contentKind = Kind::ForumRefused;
    outcome.m_code = code;
    outcome.m_codeSource = source;
    outcome.m_knownCode = !text.isNull();
    if (!forumText.isEmpty())
        outcome.m_message = forumText;
    else
        outcome.m_message =
            text.isNull() ? QStringLiteral("Unknown error in server response, error code = ") + code.string() : text;
    return outcome;
}

RequestOutcome RequestOutcome::refusal(const QString& code, int status)
{
    RequestOutcome outcome(Kind::ForumRefused, status);
    outcome.m_contentKind = Kind::ForumRefused;
    outcome.m_code = Value(code);
    outcome.m_answerCode = code;
    outcome.m_errorMessage = outcome.m_code;
    outcome.m_codeSource = CodeSource::ErrorMessage;
    const QString text = ErrorMessages::errorForCode(outcome.m_code);
    outcome.m_knownCode = !text.isNull();
    outcome.m_message = text.isNull() ? code : text;
    return outcome;
}

RequestOutcome RequestOutcome::unsent(int status)
{
    RequestOutcome outcome(Kind::NoAnswer, status);
    outcome.m_neverLeft = true;
    return outcome;
}

QString RequestOutcome::failureText() const
{
    switch (m_kind) {
    case Kind::Pending:
    case Kind::Ok:
    case Kind::NotModified:
    case Kind::ForumClosed:
        return QString();
    case Kind::NoAnswer:
        // A head came and the body broke off: the forum answered, but not
        // in a form that can be used.
        return tableText(m_status > 0 ? QStringLiteral("unexpected_server_response") : QStringLiteral("nointernet"));
    case Kind::HttpError:
    case Kind::BadSignature:
    case Kind::Undecodable:
        return tableText(QStringLiteral("unexpected_server_response"));
    case Kind::ForumRefused:
        return m_message;
    case Kind::SessionEnded:
        return localized("renovate_session");
    }
    return QString();
}

Error RequestOutcome::failure() const
{
    const QString text = failureText();
    if (text.isNull())
        return Error();
    switch (m_kind) {
    case Kind::NoAnswer:
        return Error::failure(m_status > 0 ? Error::Kind::BadAnswer : Error::Kind::NoAnswer, text);
    case Kind::HttpError:
    case Kind::BadSignature:
    case Kind::Undecodable:
        return Error::failure(Error::Kind::BadAnswer, text);
    case Kind::ForumRefused:
        return Error::failure(Error::Kind::Refused, text, m_answerCode);
    case Kind::SessionEnded:
        return Error::failure(Error::Kind::SessionEnded, text);
    case Kind::Pending:
    case Kind::Ok:
    case Kind::NotModified:
    case Kind::ForumClosed:
        break;
    }
    return Error();
}

bool RequestOutcome::success() const
{
    return m_kind == Kind::Ok || m_kind == Kind::NotModified || m_kind == Kind::ForumRefused;
}

bool RequestOutcome::isInconclusive() const
{
    switch (m_kind) {
    case Kind::NoAnswer:
        return !m_neverLeft;
    case Kind::HttpError:
    case Kind::BadSignature:
    case Kind::Undecodable:
        return true;
    case Kind::Pending:
    case Kind::Ok:
    case Kind::NotModified:
    case Kind::ForumClosed:
    case Kind::ForumRefused:
    case Kind::SessionEnded:
        return false;
    }
    return false;
}

RequestOutcome RequestOutcome::ignoringSignature() const
{
    if (m_kind != Kind::BadSignature || m_contentKind == Kind::Pending)
        return *this;
    return withKind(m_contentKind);
}

RequestOutcome RequestOutcome::withKind(Kind kind) const
{
    RequestOutcome outcome = *this;
    outcome.m_kind = kind;
    return outcome;
}

QString RequestOutcome::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Pending: return QStringLiteral("pending");
    case Kind::Ok: return QStringLiteral("ok");
    case Kind::NotModified: return QStringLiteral("not modified");
    case Kind::NoAnswer: return QStringLiteral("no answer");
    case Kind::HttpError: return QStringLiteral("HTTP error");
    case Kind::BadSignature: return QStringLiteral("bad signature");
    case Kind::Undecodable: return QStringLiteral("undecodable");
    case Kind::ForumClosed: return QStringLiteral("forum closed");
    case Kind::ForumRefused: return QStringLiteral("forum refused");
    case Kind::SessionEnded: return QStringLiteral("session ended");
    }
    return QString();
}

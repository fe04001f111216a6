#pragma once

#include "platform/foundation/Error.h"
#include "platform/foundation/Value.h"

#include <QString>

// What became of a request, judged once where its reply ends. Handlers read
// this instead of piecing the outcome together from the status, the
// signature and the body.
class RequestOutcome {
public:
    enum class Kind {
        // No reply has ended yet (or the request was cancelled).
        Pending,
        // A complete answer, signed as it must be, that the forum did not refuse.
        Ok,
        // Status 304: what the client holds is still good.
        NotModified,
        // No answer, or the line broke before the answer was complete.
        NoAnswer,
        // A status below 200 or from 400 up.
        HttpError,
        // The answer's signature did not match its body.
        BadSignature,
        // The body is no JSON the forum's answers are made of.
        Undecodable,
        // The forum says it is closed; its alert is the only message.
        ForumClosed,
        // The forum refused the call with an error code (see code()).
        ForumRefused,
        // The call waited for a session (a renewed token) that could not be had.
        SessionEnded,
    };

    // Where the refusal's code was found.
    enum class CodeSource { None, ErrorMessage, ErrorList };

    RequestOutcome() = default;
    RequestOutcome(Kind kind, int status) : m_kind(kind), m_status(status) {}

    // The verdict on a decoded answer's content: Ok with the dictionary a
    // model fills itself from (nothing when there is none), ForumRefused with
    // the code and the text the user reads, or Undecodable when the
    // "response" member has a shape no answer has. A code is looked up in
    // the error table once (looking up some codes has consequences).
    static RequestOutcome judgeAnswer(const Value& json, int status = 200);
    // A refusal with the code the forum gave (its text from the error table).
    static RequestOutcome refusal(const QString& code, int status);
    // No answer to a request that never wholly left: the line could not be
    // opened, or broke before the request's last byte had gone, or the call
    // was never carried out for want of a session. The forum cannot have
    // carried it out.
    static RequestOutcome unsent(int status);

    Kind kind() const { return m_kind; }
    int status() const { return m_status; }
    // The forum's own answer came, complete and signed: Ok, NotModified or
    // ForumRefused.
    bool success() const;
    bool is(Kind kind) const { return m_kind == kind; }
    // The request may have reached the forum and been carried out, but no
    // verdict of the forum that can be trusted came back: no answer (nothing,
    // a body cut short, the wait ran out), an error status, a bad signature
    // or a body that is no answer. A call that changes the forum and ends so
    // must not simply be made again. An unsent request is no such outcome.
    bool isInconclusive() const;
    // No answer, and the request never wholly left (see unsent()).
    bool neverLeft() const { return m_neverLeft; }

    // For a judged content (Ok, ForumRefused, and BadSignature whose body
    // could be read): the filling dictionary and the refusal.
    const Value& dictionary() const { return m_dictionary; }
    const Value& code() const { return m_code; }
    CodeSource codeSource() const { return m_codeSource; }
    // The code the answer names, read here once for every handler: the first
    // of its "errormessage" or, without one, of its error lists; also the
    // forum's success codes ("redirect_postthanks"), which refuse nothing.
    // Null when the answer names none.
    const QString& answerCode() const { return m_answerCode; }
    // The answer's own "errormessage" whole, as the forum wrote it: a code,
    // or a list of the code and what goes with it (the forum's text, the
    // field a refusal names). Absent when the answer has none. For handlers
    // that need more of it than the code.
    const Value& errorMessage() const { return m_errorMessage; }
    // The codes of the answer's error list in order, as the search for the
    // code found them (one for a list of one); empty when the code is the
    // answer's own "errormessage" or there is none. code() is the first.
    const ValueList& errorListCodes() const { return m_errorListCodes; }
    // The text of the refusal: the forum's own when it gave one with the code
    // ("errormessage" [code, text]), else the error table's, or "Unknown error
    // in server response, error code = <code>" for a code the table does not
    // know.
    const QString& message() const { return m_message; }
    // What the user reads of a failure: "nointernet" when no answer came at
    // all, the refusal's message, "unexpected_server_response" for an answer
    // that came but cannot be used (an error status, a bad signature, a body
    // cut short or not made of JSON), "renovate_session" when the session is
    // gone; null for an outcome that is no failure or that nobody is to hear
    // of (cancelled, or ended by the closed forum, whose alert is up).
    QString failureText() const;
    // The failure as the user is told of it: failureText() with its kind and
    // the forum's code beside it; no error (unset) where failureText() is
    // null.
    Error failure() const;
    // Whether the table knows the refusal's code.
    bool isKnownCode() const { return m_knownCode; }

    // A bad signature over a body that could still be judged: the content's
    // own verdict, for the few answers that are taken unsigned. Any other
    // outcome is returned as it is.
    RequestOutcome ignoringSignature() const;
    // The same content with this kind (the judged content is kept).
    RequestOutcome withKind(Kind kind) const;

    // "ok", "not modified", ... for logs and test messages.
    static QString kindName(Kind kind);

private:
    Kind m_kind = Kind::Pending;
    int m_status = 0;
    // The judged content's own kind (Ok or ForumRefused); Pending when no
    // content was judged.
    Kind m_contentKind = Kind::Pending;
    Value m_dictionary;
    Value m_code;
    Value m_errorMessage;
    ValueList m_errorListCodes;
    CodeSource m_codeSource = CodeSource::None;
    QString m_message;
    QString m_answerCode;
    bool m_knownCode = false;
    bool m_neverLeft = false;
};

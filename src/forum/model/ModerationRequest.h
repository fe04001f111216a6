#pragma once

#include "app/net/HTTPRequest.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Trackable.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

// One inline moderation call in flight. Nobody holds it: its request does,
// until the answer came (or the request was dropped), so a screen may start a
// call and go. The answer is judged by its verdict: a failure reads as the
// verdict says (no connection, a refusal, an answer that cannot be used), and
// a success code the table does not know is a success.
class ModerationRequest : public Trackable {
public:
    // Called once with the failure, or with nothing on success.
    using Done = std::function<void(const std::optional<Error>& failure)>;
    // What to do with a good answer instead of calling `done` (a first step
    // that sends the next one); it gets the answer's decoded body.
    using Next = std::function<void(const Value& json, const Done& done)>;

    // POSTs the body; the outcome goes to `done`, or a failure to the
    // connection-error alert when there is no `done`.
    static void send(const QString& apiMethod, const ValueDict& body, Done done, Next next = {});

    // The failure an answer reports, if any.
    static std::optional<Error> failureOf(const HTTPRequest& request);
    // Reports to `done`, or shows a failure when there is none.
    static void report(const Done& done, const std::optional<Error>& failure);

    void finished(const HTTPRequestPtr& request);

private:
    ModerationRequest(Done done, Next next) : m_done(std::move(done)), m_next(std::move(next)) {}

    Done m_done;
    Next m_next;
};

#pragma once

#include "platform/foundation/Value.h"

#include <QString>
#include <QStringList>

#include <functional>

// The texts the user reads for the forum's error codes ("errormessage").
class ErrorMessages {
public:
    // The text of a code given as a text or as a list (its first element);
    // a null text for an empty list, an unknown code or a code that is not
    // text. Looking up "invalid_sessionhash" also signs the user out, through
    // the handler below, on every such lookup.
    static QString errorForCode(const Value& code);

    // The codes of the table, in table order.
    static const QStringList& codes();

    // Builds the table anew on the next lookup, as a new run would (tests).
    static void forgetTable();

    // What signs the user out on "invalid_sessionhash" (the application's
    // context connects its user when it is built).
    static void setInvalidSessionHashHandler(std::function<void()> handler);
};

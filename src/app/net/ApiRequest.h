#pragma once

#include "app/net/HTTPRequest.h"
#include "app/net/Selector.h"

#include <QString>

// Sends forum API calls, answered to an operation of the caller's choice and
// with a tag of its choice. The request keeps its call (method name and the
// parameters of the address), so that it can be addressed again with a new
// session.
class ApiRequest {
public:
    // Method 0: a GET with the parameters in the signed address; any other: a
    // POST with them in the body (an empty dictionary still makes a form body).
    static HTTPRequestPtr send(const QString& apiMethod, const ValueDict& params, int method,
                               const Selector& selector, Trackable* object,
                               int tag = HTTPRequest::TagOrdinary);
    // A multipart POST carrying one file as "upload", named "image.jpg", of
    // type "image/jpeg".
    static HTTPRequestPtr sendPicture(const QString& apiMethod, const QByteArray& jpeg, const Selector& selector,
                                      Trackable* object);

    // The text of the error table's "nointernet".
    static QString noInternetText();
    // J."response"."errormessage", a non-empty list standing for its first element.
    static Value errorMessage(const Value& json);
    // The table's text for the answer's "errormessage" code; null when the
    // answer carries no code the table knows.
    static QString knownErrorText(const Value& json);
    // What a handler fails with: "nointernet" when the request did not succeed
    // (no answer, or an answer that is not the forum's), the text of a known
    // code of the answer; null when the answer can be read.
    static QString failureText(const HTTPRequest& request);
};

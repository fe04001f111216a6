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
    // GET: the parameters in the signed address; POST: in the body (an empty
    // dictionary still makes a form body).
    static HTTPRequestPtr send(const QString& apiMethod, const ValueDict& params, RequestMethod method,
                               const Selector& selector, Trackable* object, RequestTag tag = RequestTag::Ordinary);
    // A multipart POST carrying one file as "upload", named "image.jpg", of
    // type "image/jpeg".
    static HTTPRequestPtr sendPicture(const QString& apiMethod, const QByteArray& jpeg, const Selector& selector,
                                      Trackable* object);

    // The code of the answer's "errormessage" as the verdict read it, a
    // non-empty list standing for its first element.
    static Value errorMessage(const RequestOutcome& outcome);
};

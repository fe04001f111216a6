#pragma once

#include "app/net/ApiCall.h"
#include "app/net/RequestMethod.h"
#include "app/net/RequestTag.h"
#include "app/net/Selector.h"
#include "platform/foundation/Value.h"

#include <QUrl>

#include <memory>

class HTTPRequest;
class Trackable;

// The class-side factory of a request class T, which every model uses: makes
// a T, reports the page view, sets its callback (success and failure alike),
// filename, method, tag and API call, adds the parameters and sends it. With
// parameters the body is a form, so the request is a POST unless they are all
// empty; without them it is a GET.
template <typename T>
class RequestFactory {
public:
    static std::shared_ptr<HTTPRequest> requestURL(const QUrl& url, const ValueDict& params, RequestMethod method,
                                                   const Selector& selector, Trackable* object,
                                                   RequestTag tag = RequestTag::Ordinary, const ApiCall& api = {})
    {
        return T::template makeAndSend<T>(url, &params, method, selector, object, tag, api);
    }
    static std::shared_ptr<HTTPRequest> requestURL(const QUrl& url, const ValueDict& params, const Selector& selector,
                                                   Trackable* object)
    {
        return T::template makeAndSend<T>(url, &params, RequestMethod::GET, selector, object, RequestTag::Ordinary,
                                          {});
    }
    static std::shared_ptr<HTTPRequest> requestURL(const QUrl& url, const Selector& selector, Trackable* object)
    {
        return T::template makeAndSend<T>(url, nullptr, RequestMethod::GET, selector, object, RequestTag::Ordinary,
                                          {});
    }
};

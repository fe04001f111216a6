#pragma once

#include "app/json/JSONConvenience.h"
#include "app/net/HTTPRequest.h"

#include <algorithm>
#include <memory>

// A decoded answer written as JSON text in a test.
inline Value json(const char* text)
{
    return JSONValue(QString::fromUtf8(text));
}

// The navigation block of page `page` of `total`, naming the pages up to two
// on either side, as a paged answer carries it.
inline Value pageNavBlock(int page, int total)
{
    ValueList items;
    for (int p = std::max(1, page - 2); p <= std::min(total, page + 2); ++p)
        items.push_back(Value(ValueDict{{QStringLiteral("curpage"), Value(QString::number(p))}}));
    return Value(ValueDict{{QStringLiteral("pagenumber"), Value(QString::number(page))},
                           {QStringLiteral("totalpages"), Value(QString::number(total))},
                           {QStringLiteral("pagenav"), Value(items)}});
}

// A request whose reply ended as a reply of that kind would: an answered one
// (Ok) is judged like a forum answer; the body is kept as its response.
inline HTTPRequestPtr answeredRequest(const char* body, RequestOutcome::Kind kind = RequestOutcome::Kind::Ok,
                                      int status = 200)
{
    auto request = std::make_shared<HTTPRequest>();
    request->setHttpResponse(HTTPResponse(status, {}));
    if (status < 200 || status >= 400)
        request->setError(Error(QStringLiteral("request"), status));
    request->setResponse(json(body));
    request->setOutcome(kind == RequestOutcome::Kind::Ok ? RequestOutcome::judgeAnswer(request->response(), status)
                                                         : RequestOutcome(kind, status));
    return request;
}

#include "forum/model/Search.h"

#include "app/config/ErrorMessages.h"
#include "app/net/ApiAddress.h"
#include "app/net/JSONHTTPRequest.h"
#include "platform/foundation/Log.h"

Search::Search() = default;

Search::~Search()
{
    m_delegate.reset();
    m_searchid = QString();
}

const PropertyTable& Search::propertyTable()
{
    static const PropertyTable table = PropertyTable(&ModelWithPages::propertyTable())
                                           .text("searchid", &Search::searchid, &Search::setSearchid)
                                           .boolean("silentMode", &Search::silentMode, &Search::setSilentMode)
                                           .notArchived("silentMode");
    return table;
}

// ---- Sending

HTTPRequestPtr Search::sendCall(const QString& apiMethod, const ValueDict& query, const ValueDict& body,
                                const Selector& handler)
{
    const QUrl url = ApiAddress::URLWithString(apiMethod, query);
    HTTPRequestPtr request = JSONHTTPRequest::requestURL(url, body, body.isEmpty() ? RequestMethod::GET : RequestMethod::POST,
                                                         handler, this, RequestTag::Ordinary,
                                                         ApiCall{apiMethod, query});
    addRequest(request);
    return request;
}

void Search::search(const QString& text)
{
    sendProcess(searchParameters(text));
}

void Search::sendProcess(const ValueDict& params)
{
    // An earlier search's answer would come back with another search id,
    // and a page of it would land among the new search's rows.
    for (const HTTPRequestPtr& earlier : {m_processRequest.lock(), m_pageRequest}) {
        if (earlier) {
            removeRequest(earlier);
            earlier->cancel();
        }
    }
    m_pageRequest = nullptr;
    m_processRequest = sendCall(QStringLiteral("search_process"), ValueDict(), params, SELECTOR(Search, requestSearch));
}

void Search::cancelRequests()
{
    for (const HTTPRequestPtr& request : requests().requests()) {
        removeRequest(request);
        request->cancel();
    }
    m_pageRequest = nullptr;
    m_processRequest.reset();
}

void Search::fetchPage(int pageNumber)
{
    if (m_pageRequest || m_searchid.isEmpty())
        return;
    m_pageRequest = sendCall(QStringLiteral("search_showresults"),
                             ValueDict{{QStringLiteral("searchid"), Value(m_searchid)}},
                             ValueDict{{QStringLiteral("pagenumber"), Value(QString::number(pageNumber))}},
                             SELECTOR(Search, searchResults));
    m_pageRequest->setExtraInfo(Value(pageNumber));
}

// ---- Answers

bool Search::reportedNoAnswer(const HTTPRequestPtr& request)
{
    // One failure, and nothing more is read from the body.
    if (request->success())
        return false;
    failedWithError(request->outcome().failure());
    return true;
}

void Search::requestSearch(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const auto guard = keepAlive();
    removeRequest(request);
    if (m_processRequest.lock() == request)
        m_processRequest.reset();
    if (reportedNoAnswer(request))
        return;
    if (const std::optional<Error> failure = errorMessageForResponse(*request)) {
        tellDelegateOfFailure(*failure);
        return;
    }
    const Value json = request->response();
    const Value searchid = json[u"show"][u"searchid"];
    if (searchid.isNumber())
        m_searchid = searchid.numberText();
    else if (searchid.isString())
        m_searchid = searchid.string();
    else
        return;
    if (SearchDelegate* delegate = m_delegate.get())
        delegate->searchHasResults(this);
}

void Search::searchResults(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const auto guard = keepAlive();
    if (m_pageRequest == request)
        m_pageRequest = nullptr;
    removeRequest(request);
    if (reportedNoAnswer(request))
        return;
    const std::optional<Error> failure = errorMessageForResponse(*request);
    if (!m_delegate.get())
        return;
    if (failure) {
        tellDelegateOfFailure(*failure);
        return;
    }
    const Value response = request->response()[u"response"];
    m_answeredPage = request->extraInfo().toInt();
    setPagenav(response[u"pagenav"]);
    setResponse(response[u"searchbits"]);
}

std::optional<Error> Search::errorMessageForResponse(const HTTPRequest& request) const
{
    QString code = request.outcome().answerCode();
    // The search's answers may also name their code in a preview beside the
    // "response", where no other answer has one.
    if (code.isNull()) {
        const Value preview = request.response()[u"postpreview"][u"errorlist"][u"errormessage"];
        const Value first = preview.isList() ? preview.at(0) : preview;
        if (first.isString())
            code = first.string();
    }
    if (code.isNull() || code == u"search")
        return std::nullopt;
    if (code == u"invalidid")
        code = QStringLiteral("searchnoresults");
    if (m_silentMode)
        return std::nullopt;
    const QString text = ErrorMessages::errorForCode(Value(code));
    if (text.isNull())
        return std::nullopt;
    return Error::failure(Error::Kind::Refused, text, code);
}

void Search::tellDelegateOfFailure(const Error& failure)
{
    if (SearchDelegate* delegate = m_delegate.get())
        delegate->searchHasFailed(this, failure);
}

void Search::failedWithError(const Error& error)
{
    if (SearchDelegate* delegate = m_delegate.get())
        delegate->searchHasFailed(this, error);
}

// ---- Rows

void Search::setResponse(const Value&)
{
    MU_LOG(Log::model, QStringLiteral("Childs of Search must implement setResponse:"));
}

ValueDict Search::searchParameters(const QString& text) const
{
    return ValueDict{{QStringLiteral("query"), Value(text)},
                     {QStringLiteral("search_type"), Value(QStringLiteral("1"))},
                     {QStringLiteral("showposts"), Value(QStringLiteral("0"))}};
}

int Search::currentPageNumber() const
{
    // Without a page number of the forum's, the rows are those of the page asked for.
    if (!pagenav() || pagenav()->pagenumber().isEmpty())
        return m_answeredPage > 0 ? m_answeredPage : 1;
    const quint32 number = pagenumber();
    return number == 0 ? 1 : static_cast<int>(number);
}

void Search::storePage(const Page& rows)
{
    pages().insert(pageKey(currentPageNumber()), rows);
    notifyChanged();
}

void Search::forgetSearchResult()
{
    pages().clear();
}

#pragma once

#include "app/model/ModelWithPages.h"
#include "forum/model/SearchDelegate.h"

#include <QString>

#include <memory>
#include <optional>

// A search on the forum, in two steps: "search_process" with the criteria
// gives a search id, then "search_showresults" gives the rows page by page
// for that id (one page request at a time). The kinds of search make the
// criteria and turn rows into the content models they stand for.
class Search : public ModelWithPages {
public:
    Search();
    ~Search() override;

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    // Not owned.
    SearchDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(SearchDelegate* delegate) { m_delegate = delegate; }
    QString searchid() const { return m_searchid; }
    void setSearchid(const QString& searchid) { m_searchid = searchid; }
    // Error codes of the forum are not reported (transport failures still are).
    bool silentMode() const { return m_silentMode; }
    void setSilentMode(bool silent) { m_silentMode = silent; }

    // Starts a search for the text; a search still waiting for its id or a
    // page is dropped, so that its late answer cannot replace the new
    // search's id or rows.
    virtual void search(const QString& text);
    void requestSearch(const HTTPRequestPtr& request);
    // Asks for a page of the current search; nothing while a page request runs.
    void fetchPage(int pageNumber) override;
    void searchResults(const HTTPRequestPtr& request);
    // The failure to report for an answer's error code, its text the table's
    // and its code the one the search stands for ("invalidid" is
    // "searchnoresults"), or nothing (success, silent mode, or a code the
    // error table does not know).
    std::optional<Error> errorMessageForResponse(const HTTPRequest& request) const;

    // The rows of a page ("searchbits"), turned into models by each kind.
    virtual void setResponse(const Value& rows);
    // The criteria of "search_process" for the text.
    virtual ValueDict searchParameters(const QString& text) const;

    // Failures go to the delegate alone.
    using ModelWithPages::failedWithError;
    void failedWithError(const Error& error) override;
    // Empties the loaded pages; the search id stays.
    void forgetSearchResult();

    bool isWaitingForPage() const { return m_pageRequest != nullptr; }

protected:
    // A forum call with parameters in the signed address and in a form body.
    HTTPRequestPtr sendCall(const QString& apiMethod, const ValueDict& query, const ValueDict& body,
                            const Selector& handler);
    // Sends "search_process" with the criteria.
    void sendProcess(const ValueDict& params);
    // Drops every request in flight, the page request among them.
    void cancelRequests();
    // The page number the current answer fills ("1" while none is known).
    int currentPageNumber() const;
    // Stores the rows under the current page and tells the observers.
    void storePage(const Page& rows);
    // A failure for the delegate.
    void tellDelegateOfFailure(const Error& failure);
    // A transport failure of one of the search's own calls: the delegate
    // hears once of no connection. True when the request failed so.
    bool reportedNoAnswer(const HTTPRequestPtr& request);

    HTTPRequestPtr m_pageRequest;
    // The page the answer being read was asked for.
    int m_answeredPage = 0;

private:
    WeakRef<SearchDelegate> m_delegate;
    QString m_searchid;
    bool m_silentMode = false;
    std::weak_ptr<HTTPRequest> m_processRequest;
};

using SearchPtr = std::shared_ptr<Search>;

#pragma once

#include "app/model/ModelWithPages.h"
#include "forum/model/NewTopSearchDelegate.h"

#include <memory>

// The home screen's feed of new and top content ("api_getnewtop"): one
// answer holds both orders and every content type; choosing another order
// or type shows its rows at once, without a request. The rows are on page "1".
class NewTopSearch : public ModelWithPages {
public:
    enum Order : int { NewOrder = 0, TopOrder = 1 };
    enum Type : int { AllTypes = 0, Threads = 1, BlogEntries = 2, Articles = 3 };

    NewTopSearch();
    ~NewTopSearch() override;

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    // Not owned.
    NewTopSearchDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(NewTopSearchDelegate* delegate) { m_delegate = delegate; }
    const Value& newDictionary() const { return m_newDictionary; }
    const Value& topDictionary() const { return m_topDictionary; }
    qint32 searchOrder() const { return m_searchOrder; }
    void setSearchOrder(qint32 order);
    qint32 searchType() const { return m_searchType; }
    void setSearchType(qint32 type);

    // Asks for the whole feed again (whatever the page).
    void fetchPage(int pageNumber) override;
    void fetchSpecialPage() override { fetchPage(1); }
    void requestSearch(const HTTPRequestPtr& request);
    // Drops the answer kept for another reader, so that no order or type
    // chosen later shows its rows.
    void forgetAnswer();
    // The rows of the chosen order and type on page "1"; the delegate is told.
    void updateCellData();
    // The rows of the chosen type in one order's object: a list as it is, a
    // dictionary as a list of one, anything else none.
    ValueList cellDataFromRequest(const Value& orderObject) const;
    // A model per row by its "type" ("thread", "blog", "article"); others skipped.
    static Page cellDataFromJson(const ValueList& rows);

private:
    WeakRef<NewTopSearchDelegate> m_delegate;
    Value m_newDictionary;
    Value m_topDictionary;
    qint32 m_searchOrder = NewOrder;
    qint32 m_searchType = AllTypes;
};

using NewTopSearchPtr = std::shared_ptr<NewTopSearch>;

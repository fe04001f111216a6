#pragma once

#include "forum/model/Search.h"

#include <QStringList>

class AppContext;

// The general search across content kinds, by words, member name or tag,
// with a sort order and a date limit; with order 2 it is the member's list
// of subscribed threads instead.
class SearchAll : public Search {
public:
    // Bits of type(): the content kinds searched.
    enum ContentBits : int {
        PostBit = 1,
        ArticleBit = 2,
        BlogEntryBit = 4,
        BlogCommentBit = 16,
        VisitorMessageBit = 32,
    };
    // order(): the subscribed threads.
    static constexpr int SubscribedOrder = 2;
    // filterType(): what the text is.
    enum FilterType : int { FilterText = 0, FilterMemberName = 1, FilterTag = 2 };

    // A search of the context's forum, by the kinds its configuration has.
    explicit SearchAll(AppContext& context);

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    qint32 order() const { return m_order; }
    void setOrder(qint32 order) { m_order = order; }
    qint32 type() const { return m_type; }
    void setType(qint32 type) { m_type = type; }
    // 0 no limit; odd values "after", even "before" a time (see searchParameters).
    qint32 time() const { return m_time; }
    void setTime(qint32 time) { m_time = time; }
    qint32 filterType() const { return m_filterType; }
    void setFilterType(qint32 filterType) { m_filterType = filterType; }

    using Search::search;
    // A search without text: what was loaded and asked for is dropped first.
    void search();
    // A page of the search, or of the subscribed threads (order 2).
    void fetchPage(int pageNumber) override;
    void subscribedResults(const HTTPRequestPtr& request);

    // A null text leaves the text key out.
    ValueDict searchParameters(const QString& text) const override;
    // The forum's content-type ids of the chosen kinds, in a fixed order:
    // article, blog entry, post, blog comment, visitor message; kinds the
    // forum has no id for are left out.
    QStringList types() const;
    // Rows with "thread", "blog" or "article"; other rows are skipped.
    void setResponse(const Value& rows) override;

    // The "sortby" and "order" of a sort code, the "beforeafter" and
    // "searchdate" of a date limit.
    static std::pair<QString, QString> sortOf(int order);
    static std::pair<QString, QString> dateLimitOf(int time);

private:
    AppContext& m_context;
    qint32 m_order = 0;
    qint32 m_type = 0;
    qint32 m_time = 0;
    qint32 m_filterType = FilterText;
};

using SearchAllPtr = std::shared_ptr<SearchAll>;

#pragma once

#include "forum/model/NewTopSearch.h"
#include "forum/model/SearchAll.h"

#include <QList>
#include <QString>

#include <memory>

class AppContext;
class Config;
class ModelWithPages;

// What the home screen shows, decided without a window: one list of recent
// content in three sorts (newest and top, filtered to one kind of content,
// and the member's subscribed threads), the kinds the filter offers, who the
// lists were read for, the member's count of notifications, and whether the
// list is loading. The screen builds its views from it and hands it the
// member's choices.
class HomeState {
public:
    enum Sort { Newest = 0, Top = 1, Subscribed = 2 };
    // The subscribed list searches every kind of content.
    static constexpr qint32 kFinderType = 63;

    // One kind of content the filter offers.
    struct FilterRow {
        QString titleKey;
        qint32 searchType;
    };

    // The lists of the context's forum; the context outlives the state.
    explicit HomeState(AppContext& context);

    // The newest and top lists, and the subscribed one.
    const NewTopSearchPtr& newTop() const { return m_newTop; }
    const SearchAllPtr& subscribed() const { return m_subscribed; }
    // The list the sort shows.
    std::shared_ptr<ModelWithPages> list() const;

    Sort sort() const { return m_sort; }
    // Puts the list in that order; a guest, who has no subscriptions, stays
    // where they are. Answers whether the sort is the one asked for.
    bool setSort(Sort sort);
    // A guest has no subscriptions to sort by.
    bool offers(Sort sort) const { return sort != Subscribed || !m_guest; }
    // The list's name and icon for the sort.
    QString listTitleKey() const;
    QString listIconName() const;
    // The subscribed list takes no filter.
    bool showsFilter() const { return m_sort != Subscribed; }

    // The kinds of content, by the forum's features: threads always, then
    // articles and blog entries where the forum has them, then all.
    static QList<FilterRow> filterRowsOfForum(const Config& config);
    // Without articles, blogs or a search across kinds there is nothing to choose.
    static bool forumOffersKinds(const Config& config);
    const QList<FilterRow>& filterRows() const { return m_filterRows; }
    // The rows again, as the forum has them now, and the one chosen at first:
    // all content where the forum searches across kinds (the feed starts
    // so), else threads. Answers that row.
    int resetFilter();
    int filterRow() const { return m_filterRow; }
    // Filters the newest and top lists to that row's kind; false for no row.
    bool chooseFilterRow(int row);
    // The filter's name: the row chosen, else all content.
    QString filterTitleKey() const;

    bool isGuest() const { return m_guest; }
    // The reader now: a guest (0) or a member's id. What another reader could
    // see (a member's own thread waiting for approval, their subscriptions)
    // is not shown to the next one: the lists are emptied, and a guest leaves
    // the subscribed sort for the newest. Answers whether the lists were
    // another reader's.
    bool followReader(qint32 reader);
    // The member's notifications: a strip shows them, never to a guest.
    int notifications() const { return m_notifications; }
    void setNotifications(int count) { m_notifications = count; }
    bool showsNotificationStrip() const { return !m_guest && m_notifications >= 1; }

    // Between asking for a list and its answer (or failure).
    bool isLoading() const { return m_loading; }
    void setLoading(bool loading) { m_loading = loading; }

private:
    AppContext& m_context;
    NewTopSearchPtr m_newTop;
    SearchAllPtr m_subscribed;
    Sort m_sort = Newest;
    QList<FilterRow> m_filterRows;
    int m_filterRow = -1;
    // Who the lists were read for: 0 a guest, else the member's id; -1 nobody yet.
    qint32 m_reader = -1;
    bool m_guest = false;
    int m_notifications = 0;
    bool m_loading = false;
};

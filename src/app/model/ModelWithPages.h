#pragma once

#include "app/model/Model.h"
#include "app/model/PageNav.h"

#include <QList>
#include <QMap>
#include <QString>

#include <memory>

// The base of every model whose list comes one page per answer: the loaded
// pages by page number ("%d" text) and the navigation block of each answer.
class ModelWithPages : public Model {
public:
    using Page = QList<ModelPtr>;

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    const PageNavPtr& pagenav() const { return m_pagenav; }
    // A dictionary becomes a new block; anything else leaves none. A block
    // with a page number is also recorded in navs under it.
    void setPagenav(const Value& block);
    void setPagenav(const PageNavPtr& block);

    // From the block when there is one (negative texts count as 0), else the
    // number of loaded pages.
    quint32 pagenumber() const;
    quint32 totalpages() const;

    // Filled and emptied by the subclasses and the paged table view.
    QMap<QString, Page>& pages() { return m_pages; }
    const QMap<QString, Page>& pages() const { return m_pages; }
    QMap<QString, PageNavPtr>& navs() { return m_navs; }
    const QMap<QString, PageNavPtr>& navs() const { return m_navs; }
    static QString pageKey(int pageNumber) { return QString::number(pageNumber); }

    // Each paged subclass sends its own request; page 0 asks for the page
    // the server picks.
    virtual void fetchPage(int pageNumber) {}
    virtual void fetchSpecialPage() {}

    // A page of the list the paged table shows (0: the page the server
    // picks). Its requests are the list's own: cancelPageLoads stops them,
    // while the model's other calls (a subscription) go on.
    void loadPage(unsigned page);
    void cancelPageLoads();
    bool isLoadingPages() const;

protected:
    // A page load was stopped before its answer: what the subclass kept for
    // it can go.
    virtual void pageLoadCancelled(const HTTPRequestPtr& request) {}

private:
    quint32 fromBlock(const QString& number) const;
    QList<HTTPRequestPtr> pageLoadsInFlight() const;

    PageNavPtr m_pagenav;
    QMap<QString, Page> m_pages;
    QMap<QString, PageNavPtr> m_navs;
    // Not owned: the API client holds a request until it ends.
    QList<std::weak_ptr<HTTPRequest>> m_pageLoads;
};

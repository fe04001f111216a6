#pragma once

#include "app/model/Model.h"
#include "app/model/PageNavItem.h"

#include <QList>

#include <memory>

// The "pagenav" block of a list answer. The numbers are texts as the
// server sends them.
class PageNav : public Model {
public:
    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    QString pagenumber() const { return m_pagenumber; }
    void setPagenumber(const QString& pagenumber) { m_pagenumber = pagenumber; }
    QString nextpage() const { return m_nextpage; }
    void setNextpage(const QString& nextpage) { m_nextpage = nextpage; }
    QString totalpages() const { return m_totalpages; }
    void setTotalpages(const QString& totalpages) { m_totalpages = totalpages; }
    QString total() const { return m_total; }
    void setTotal(const QString& total) { m_total = total; }

    const QList<std::shared_ptr<PageNavItem>>& pagenav() const { return m_pagenav; }
    // One item per element of the block's own "pagenav" member, which may be
    // one object or a list; nothing leaves no items.
    void setPagenav(const Value& items);

    // total / totalpages in integer division; 0 without pages.
    int itemsPerPage() const;

private:
    QString m_pagenumber;
    QString m_nextpage;
    QString m_totalpages;
    QString m_total;
    QList<std::shared_ptr<PageNavItem>> m_pagenav;
};

using PageNavPtr = std::shared_ptr<PageNav>;

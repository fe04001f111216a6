#pragma once

#include "app/model/Model.h"
#include "app/model/PageNavPostInterval.h"

#include <memory>

// One entry of a page-navigation block: a page and its item interval.
class PageNavItem : public Model {
public:
    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    const std::shared_ptr<PageNavPostInterval>& pagenumbers() const { return m_pagenumbers; }
    // A new interval filled from the dictionary; nothing clears it. The key
    // "numbers" reaches this setter too.
    void setPagenumbers(const Value& dictionary);
    QString curpage() const { return m_curpage; }
    void setCurpage(const QString& curpage) { m_curpage = curpage; }

private:
    std::shared_ptr<PageNavPostInterval> m_pagenumbers;
    QString m_curpage;
};

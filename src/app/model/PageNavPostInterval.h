#pragma once

#include "app/model/Model.h"

// The first and last item numbers of one page.
class PageNavPostInterval : public Model {
public:
    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    QString first() const { return m_first; }
    void setFirst(const QString& first) { m_first = first; }
    QString last() const { return m_last; }
    void setLast(const QString& last) { m_last = last; }

private:
    QString m_first;
    QString m_last;
};

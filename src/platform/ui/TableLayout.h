#pragma once

#include "platform/ui/EdgeInsets.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/TableViewStyle.h"

#include <QList>
#include <QPointer>
#include <QRectF>

class TableView;
class View;

// Where a table's sections, headers, rows and footers lie, in content
// coordinates, as asked of its data source and delegate at the last load.
class TableLayout {
public:
    struct Section {
        qreal top = 0;
        qreal headerHeight = 0;
        QList<qreal> rowTops;  // one more than rows: the last is the rows' end
        qreal footerHeight = 0;
        qreal bottom = 0;
        QPointer<View> header;
        QPointer<View> footer;
    };

    // Asks the table's data source and delegate again, places the section
    // views in the table (those not given again go), and returns the
    // content's height.
    qreal build(TableView& table);

    const QList<Section>& sections() const { return m_sections; }
    int numberOfSections() const { return int(m_sections.size()); }
    int numberOfRowsInSection(int section) const;
    IndexPath indexPathForRowAtPoint(const QPointF& point) const;
    QRectF rectForRow(const IndexPath& indexPath, qreal left, qreal width) const;
    QRectF rectForSection(int section, qreal width) const;
    QRectF rectForHeader(int section, qreal width) const;
    QRectF rectForFooter(int section, qreal width) const;
    View* headerView(int section) const;
    // The vertical offset that shows `row` at `position` in a view `height`
    // tall scrolled to `offsetY`; for None the least move that shows it whole.
    static qreal offsetShowing(const QRectF& row, TableViewScrollPosition position, qreal offsetY, qreal height,
                               const EdgeInsets& inset);

private:
    static View* defaultHeaderView(const QString& title, bool footer, TableViewStyle style);

    QList<Section> m_sections;
};

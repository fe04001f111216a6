#include "platform/ui/TableLayout.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/PlainHeaderView.h"
#include "platform/ui/TableView.h"

#include <algorithm>

int TableLayout::numberOfRowsInSection(int section) const
{
    if (section < 0 || section >= m_sections.size())
        return 0;
    return int(m_sections[section].rowTops.size()) - 1;
}

View* TableLayout::defaultHeaderView(const QString& title, bool footer, TableViewStyle style)
{
    if (style == TableViewStyle::Plain && !footer)
        return new PlainHeaderView(title);
    auto* label = new Label();
    label->setText(title);
    label->setNumberOfLines(0);
    if (footer) {
        label->setFont(Font::systemFontOfSize(15));
        label->setTextAlignment(TextAlignment::Center);
    } else {
        label->setFont(Font::boldSystemFontOfSize(17));
    }
    label->setTextColor(QColor(76, 86, 108));
    label->setShadowColor(Qt::white);
    label->setShadowOffset(QSizeF(0, 1));
    auto* holder = new View();
    holder->addSubview(label);
    label->setAutoresizingMask(Autoresizing::FlexibleWidth);
    label->setTag(-1);
    return holder;
}

qreal TableLayout::build(TableView& table)
{
    // A header or footer given again stays where it is, and keeps the
    // keyboard if it has it; the others go.
    QList<QPointer<View>> before;
    for (const Section& s : std::as_const(m_sections))
        before << s.header << s.footer;
    m_sections.clear();
    TableViewDataSource* source = table.dataSource();
    TableViewDelegate* delegate = table.tableDelegate();
    const int sectionCount = source ? qMax(0, source->numberOfSectionsInTableView(&table)) : 0;
    const bool grouped = table.style() == TableViewStyle::Grouped;
    const qreal width = table.frame().width();
    qreal y = 0;
    if (View* tableHeader = table.tableHeaderView()) {
        tableHeader->setFrame(QRectF(0, 0, width, tableHeader->frame().height()));
        y = tableHeader->frame().height();
    }
    for (int s = 0; s < sectionCount; ++s) {
        Section section;
        section.top = y;
        const QString title = source->titleForHeaderInSection(&table, s);
        const std::optional<qreal> headerHeight = delegate ? delegate->heightForHeaderInSection(&table, s) : std::nullopt;
        // A header the delegate makes zero high is not asked for.
        View* header = nullptr;
        if (!headerHeight || *headerHeight > 0) {
            header = delegate ? delegate->viewForHeaderInSection(&table, s) : nullptr;
            if (!header && !title.isNull())
                header = defaultHeaderView(title, false, table.style());
        }
        if (headerHeight)
            section.headerHeight = qMax<qreal>(0, *headerHeight);
        else if (header && !title.isNull() && grouped)
            section.headerHeight = (s == 0 ? 46 : 36);
        else if (header)
            section.headerHeight = header->frame().height() > 0 && title.isNull() ? header->frame().height()
                                                                                   : table.sectionHeaderHeight();
        else
            section.headerHeight = grouped ? table.sectionHeaderHeight() : 0;
        section.header = header;
        if (header) {
            table.addSubview(header);
            header->setFrame(QRectF(0, section.top, width, section.headerHeight));
            if (View* l = header->viewWithTag(-1); l && l != header)
                l->setFrame(QRectF(20, section.headerHeight - 32, width - 40, 28));
        }
        y += section.headerHeight;
        const int rows = qMax(0, source->numberOfRowsInSection(&table, s));
        section.rowTops.reserve(rows + 1);
        for (int r = 0; r < rows; ++r) {
            section.rowTops.append(y);
            const std::optional<qreal> h =
                delegate ? delegate->heightForRowAtIndexPath(&table, IndexPath{s, r}) : std::nullopt;
            y += qMax<qreal>(0, h ? *h : table.rowHeight());
        }
        section.rowTops.append(y);
        const QString footerTitle = source->titleForFooterInSection(&table, s);
        View* footer = delegate ? delegate->viewForFooterInSection(&table, s) : nullptr;
        const std::optional<qreal> footerHeight = delegate ? delegate->heightForFooterInSection(&table, s) : std::nullopt;
        if (!footer && !footerTitle.isNull())
            footer = defaultHeaderView(footerTitle, true, table.style());
        if (footerHeight)
            section.footerHeight = qMax<qreal>(0, *footerHeight);
        else if (footer)
            section.footerHeight =
                !footerTitle.isNull() ? 44 : qMax(footer->frame().height(), table.sectionFooterHeight());
        else
            section.footerHeight = grouped ? table.sectionFooterHeight() : 0;
        section.footer = footer;
        if (footer) {
            table.addSubview(footer);
            footer->setFrame(QRectF(0, y, width, section.footerHeight));
            if (View* l = footer->viewWithTag(-1); l && l != footer)
                l->setFrame(QRectF(20, 4, width - 40, section.footerHeight - 8));
        }
        y += section.footerHeight;
        section.bottom = y;
        m_sections.append(std::move(section));
    }
    for (const QPointer<View>& old : std::as_const(before)) {
        const bool kept = std::any_of(m_sections.begin(), m_sections.end(),
                                      [&](const Section& s) { return s.header == old || s.footer == old; });
        if (old && !kept)
            old->removeFromSuperview();
    }
    if (View* tableFooter = table.tableFooterView()) {
        tableFooter->setFrame(QRectF(0, y, width, tableFooter->frame().height()));
        y += tableFooter->frame().height();
    }
    return y;
}

IndexPath TableLayout::indexPathForRowAtPoint(const QPointF& point) const
{
    for (int s = 0; s < m_sections.size(); ++s) {
        const Section& section = m_sections[s];
        if (point.y() < section.top || point.y() >= section.bottom)
            continue;
        const auto it = std::upper_bound(section.rowTops.begin(), section.rowTops.end(), point.y());
        const int r = int(it - section.rowTops.begin()) - 1;
        if (r >= 0 && r < section.rowTops.size() - 1)
            return IndexPath{s, r};
    }
    return IndexPath();
}

QRectF TableLayout::rectForRow(const IndexPath& p, qreal left, qreal width) const
{
    if (p.section < 0 || p.section >= m_sections.size() || p.row < 0 || p.row >= numberOfRowsInSection(p.section))
        return QRectF();
    const Section& s = m_sections[p.section];
    return QRectF(left, s.rowTops[p.row], width, s.rowTops[p.row + 1] - s.rowTops[p.row]);
}

QRectF TableLayout::rectForSection(int section, qreal width) const
{
    if (section < 0 || section >= m_sections.size())
        return QRectF();
    const Section& s = m_sections[section];
    return QRectF(0, s.top, width, s.bottom - s.top);
}

QRectF TableLayout::rectForHeader(int section, qreal width) const
{
    if (section < 0 || section >= m_sections.size())
        return QRectF();
    return QRectF(0, m_sections[section].top, width, m_sections[section].headerHeight);
}

QRectF TableLayout::rectForFooter(int section, qreal width) const
{
    if (section < 0 || section >= m_sections.size())
        return QRectF();
    const Section& s = m_sections[section];
    return QRectF(0, s.bottom - s.footerHeight, width, s.footerHeight);
}

View* TableLayout::headerView(int section) const
{
    if (section < 0 || section >= m_sections.size())
        return nullptr;
    return m_sections[section].header.data();
}

qreal TableLayout::offsetShowing(const QRectF& row, TableViewScrollPosition position, qreal offsetY, qreal height,
                                 const EdgeInsets& inset)
{
    switch (position) {
    case TableViewScrollPosition::Top:
        return row.top() - inset.top;
    case TableViewScrollPosition::Middle:
        return row.center().y() - height / 2;
    case TableViewScrollPosition::Bottom:
        return row.bottom() - height + inset.bottom;
    case TableViewScrollPosition::None:
        if (row.top() < offsetY + inset.top)
            return row.top() - inset.top;
        if (row.bottom() > offsetY + height)
            return row.bottom() - height;
        break;
    }
    return offsetY;
}

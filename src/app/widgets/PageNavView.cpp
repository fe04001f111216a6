#include "app/widgets/PageNavView.h"

#include "app/config/Customizer.h"
#include "app/widgets/PaginationCell.h"

#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/ScrollView.h"

#include <QKeyEvent>
#include <QPointer>

#include <algorithm>

namespace {

// The strip's numbers in a row, scrolled sideways; a tap on a number (not a
// drag) goes to the strip.
class PageStrip : public ScrollView {
public:
    PageStrip(const QRectF& frame, PageNavView* owner) : ScrollView(frame), m_owner(owner)
    {
        setAlwaysBounceVertical(false);
        setAlwaysBounceHorizontal(true);
        setShowsVerticalScrollIndicator(false);
        setShowsHorizontalScrollIndicator(false);
        setBackgroundColor(Qt::transparent);
        setOpaque(false);
    }

    void touchesBegan(const QPointF& point) override { m_touchedRow = rowAt(point); }
    void touchesCancelled() override { m_touchedRow = -1; }
    void touchesEnded(const QPointF& point) override
    {
        const int row = m_touchedRow;
        m_touchedRow = -1;
        if (row >= 0 && row == rowAt(point) && m_owner)
            m_owner->didSelectRow(row);
    }

private:
    int rowAt(const QPointF& point) const
    {
        if (point.x() < 0 || point.y() < 0 || point.y() >= frame().height())
            return -1;
        const int row = int(point.x() / PageNavView::kRowWidth);
        return row < int(contentSize().width() / PageNavView::kRowWidth) ? row : -1;
    }

    QPointer<PageNavView> m_owner;
    int m_touchedRow = -1;
};

int pageOf(const std::shared_ptr<PageNavItem>& item)
{
    return item ? TextNumber::toInt(item->curpage()) : 0;
}

bool hasPage(const std::shared_ptr<PageNavItem>& item)
{
    return item && !item->curpage().isEmpty();
}

std::shared_ptr<PageNavItem> itemForPage(const QString& page)
{
    auto item = std::make_shared<PageNavItem>();
    item->setCurpage(page);
    return item;
}

}  // namespace

PageNavView::PageNavView(const QRectF& frame) : View(frame)
{
    setBackgroundColor(Qt::transparent);
    setOpaque(false);
    setClipsToBounds(true);
    addTable();
}

PageNavView::~PageNavView()
{
    m_delegate.reset();
    if (m_table)
        m_table->setDelegate(nullptr);
}

void PageNavView::awakeFromNib()
{
    addTable();
}

void PageNavView::addTable()
{
    const qreal w = frame().width();
    const qreal h = frame().height();
    if (!m_bg) {
        m_bg = new ImageView(QRectF(0, 0, w, h));
        m_bg->setImage(ResourceImages::named(QStringLiteral("pagination_background.png")));
        m_bg->setAutoresizingMask(Autoresizing::FlexibleSize);
        addSubview(m_bg);
    }
    if (!m_table) {
        m_table = new PageStrip(QRectF(0, 0, w, h), this);
        m_table->setAutoresizingMask(Autoresizing::FlexibleSize);
        m_table->setDelegate(this);
        addSubview(m_table);
    }
    if (!m_right) {
        const QImage image = ResourceImages::named(QStringLiteral("pagination_right_arrow.png"));
        m_right = new ImageView(image);
        m_right->setUserInteractionEnabled(false);
        m_right->setAutoresizingMask(Autoresizing::FlexibleLeftMargin);
        m_right->setCenter(QPointF(w - ResourceImages::pointSize(image).width() / 2, h / 2));
        addSubview(m_right);
    }
    if (!m_left) {
        const QImage image = ResourceImages::named(QStringLiteral("pagination_left_arrow.png"));
        m_left = new ImageView(image);
        m_left->setUserInteractionEnabled(false);
        m_left->setCenter(QPointF(ResourceImages::pointSize(image).width() / 2, h / 2));
        addSubview(m_left);
    }
    scrollViewDidScroll(m_table);
}

void PageNavView::setPageNav(const PageNavPtr& pageNav)
{
    m_pagenav = pageNav;
    m_entries.clear();
    m_selectedRow = -1;
    if (!pageNav) {
        reloadStrip();
        return;
    }
    // After a load of the page the server chose, the strip learns which page came.
    if (m_selectedPage == 0)
        m_selectedPage = static_cast<unsigned>(std::max(0, TextNumber::toInt(pageNav->pagenumber())));

    // The strip's own list: the block's entries stay as the model has them.
    m_entries = pageNav->pagenav();
    if (m_entries.isEmpty() || !m_entries.first() || m_entries.first()->curpage() != QStringLiteral("1"))
        m_entries.prepend(itemForPage(QStringLiteral("1")));
    // The last page only when the block knows how many there are.
    if (TextNumber::toInt(pageNav->totalpages()) >= 1 && m_entries.last()->curpage() != pageNav->totalpages())
        m_entries.append(itemForPage(pageNav->totalpages()));

    const int shown = TextNumber::toInt(pageNav->pagenumber());
    int row = -1;
    for (int i = 0; i < m_entries.size(); ++i) {
        if (hasPage(m_entries[i]) && pageOf(m_entries[i]) == shown) {
            row = i;
            break;
        }
    }
    if (row < 0)
        row = int(m_entries.size()) - 1;
    // The strip is drawn with the row chosen: a cell that stays chosen
    // across the answer is not drawn again.
    m_selectedRow = row;
    reloadStrip();
    selectRow(row);
}

void PageNavView::setSelectedPage(unsigned page)
{
    m_selectedPage = page;
    QPointer<PageNavView> self(this);
    if (PageNavViewDelegate* delegate = m_delegate.get())
        delegate->pageNavViewDidSelectPage(this, page);
    if (self)
        setCurrentPage(page);
}

void PageNavView::restoreSelectedPage(unsigned page)
{
    m_selectedPage = page;
    setCurrentPage(page);
}

void PageNavView::setCurrentPage(unsigned page)
{
    if (page == m_currentPage)
        return;
    m_currentPage = page;
    reloadStrip();
}

PaginationCell* PageNavView::cellForRow(int row) const
{
    return row >= 0 && row < m_entries.size() && row < m_cells.size() ? m_cells[row] : nullptr;
}

void PageNavView::didSelectRow(int row)
{
    if (row < 0 || row >= m_entries.size() || !hasPage(m_entries[row]))
        return;
    m_selectedRow = row;
    setSelectedPage(static_cast<unsigned>(std::max(0, pageOf(m_entries[row]))));
}

int PageNavView::rowOfPage(unsigned page) const
{
    for (int i = 0; i < m_entries.size(); ++i) {
        if (hasPage(m_entries[i]) && pageOf(m_entries[i]) == static_cast<int>(page))
            return i;
    }
    return -1;
}

bool PageNavView::acceptsKeyboardFocus() const
{
    return std::any_of(m_entries.begin(), m_entries.end(), hasPage);
}

void PageNavView::focusInEvent(QFocusEvent* event)
{
    // The mark starts on the page on screen each time the keyboard comes
    // (a window brought back to the front finds it where it was).
    if (event->reason() != Qt::ActiveWindowFocusReason)
        m_keyboardPage = m_currentPage;
    View::focusInEvent(event);
    showKeyboardMark();
}

void PageNavView::focusOutEvent(QFocusEvent* event)
{
    View::focusOutEvent(event);
    showKeyboardMark();
}

void PageNavView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Left && event->key() != Qt::Key_Right) {
        View::keyPressEvent(event);
        return;
    }
    event->accept();
    // Blank entries are passed over; at either end the mark stays.
    const int step = event->key() == Qt::Key_Right ? 1 : -1;
    for (int row = rowOfPage(m_keyboardPage) + step; row >= 0 && row < m_entries.size(); row += step) {
        if (hasPage(m_entries[row])) {
            m_keyboardPage = static_cast<unsigned>(std::max(0, pageOf(m_entries[row])));
            break;
        }
    }
    showKeyboardMark();
}

void PageNavView::pressedByKeyboard()
{
    if (const int row = rowOfPage(m_keyboardPage); row >= 0)
        didSelectRow(row);
}

void PageNavView::showKeyboardMark()
{
    // A page the strip no longer offers gives the mark to the page on
    // screen, else to the first number.
    if (rowOfPage(m_keyboardPage) < 0) {
        const auto first = std::find_if(m_entries.begin(), m_entries.end(), hasPage);
        m_keyboardPage = rowOfPage(m_currentPage) >= 0 ? m_currentPage
                         : first != m_entries.end()    ? static_cast<unsigned>(std::max(0, pageOf(*first)))
                                                       : 0;
    }
    const int marked = hasFocus() ? rowOfPage(m_keyboardPage) : -1;
    for (int i = 0; i < m_cells.size(); ++i)
        m_cells[i]->setKeyboardMarked(i == marked);
    if (marked < 0 || !m_table)
        return;
    QPointF offset = m_table->contentOffset();
    const qreal left = marked * kRowWidth;
    if (left < offset.x())
        offset.setX(left);
    else if (left + kRowWidth > offset.x() + m_table->frame().width())
        offset.setX(left + kRowWidth - m_table->frame().width());
    m_table->setContentOffset(m_table->clampedOffset(offset), false);
}

void PageNavView::reloadStrip()
{
    if (!m_table)
        return;
    const qreal h = m_table->frame().height();
    const QColor highlight = Customizer::getInstance().colorForKey(kColorTextTitle);
    while (m_cells.size() < m_entries.size()) {
        auto* cell = new PaginationCell();
        m_table->addSubview(cell);
        m_cells.append(cell);
    }
    for (int i = 0; i < m_cells.size(); ++i) {
        PaginationCell* cell = m_cells[i];
        if (i >= m_entries.size()) {
            cell->setHidden(true);
            continue;
        }
        const std::shared_ptr<PageNavItem>& entry = m_entries[i];
        cell->setFrame(QRectF(i * kRowWidth, 0, kRowWidth, h));
        cell->setHidden(false);
        cell->setSelected(i == m_selectedRow);
        cell->number()->setText(hasPage(entry) ? entry->curpage() : QString());
        const bool current = hasPage(entry) && pageOf(entry) == static_cast<int>(m_currentPage);
        cell->number()->setTextColor(current && highlight.isValid() ? highlight : QColor(Qt::black));
        cell->setCurrent(current);
    }
    m_table->setContentSize(QSizeF(m_entries.size() * kRowWidth, h));
    scrollViewDidScroll(m_table);
    showKeyboardMark();
}

void PageNavView::selectRow(int row)
{
    if (row < 0 || row >= m_entries.size() || !m_table)
        return;
    m_selectedRow = row;
    for (int i = 0; i < m_cells.size(); ++i)
        m_cells[i]->setSelected(i == row);
    // The chosen number in the middle, as far as the strip can scroll.
    const qreal middle = row * kRowWidth + kRowWidth / 2 - m_table->frame().width() / 2;
    m_table->setContentOffset(m_table->clampedOffset(QPointF(middle, 0)), true);
}

void PageNavView::scrollViewDidScroll(ScrollView* scrollView)
{
    if (scrollView != m_table || !m_table || !m_left || !m_right)
        return;
    const qreal visible = m_table->frame().width();
    const qreal content = m_table->contentSize().width();
    const qreal offset = m_table->contentOffset().x();
    if (visible > content) {
        m_left->setHidden(true);
        m_right->setHidden(true);
        return;
    }
    m_left->setHidden(offset <= 0);
    m_right->setHidden(offset + visible >= content);
}

void PageNavView::layoutSubviews()
{
    if (!m_table)
        return;
    for (int i = 0; i < m_cells.size(); ++i)
        m_cells[i]->setFrame(QRectF(i * kRowWidth, 0, kRowWidth, m_table->frame().height()));
    scrollViewDidScroll(m_table);
}

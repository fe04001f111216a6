#pragma once

#include "app/model/PageNav.h"
#include "app/widgets/PageNavViewDelegate.h"

#include "platform/ui/ScrollViewDelegate.h"
#include "platform/ui/View.h"

#include "platform/foundation/WeakRef.h"

#include <QList>

#include <memory>

class ImageView;
class PaginationCell;
class ScrollView;

// The strip of page numbers at the top of a paged list: the pages the
// server's navigation block offers, always with the first and the last, the
// page on screen in the title colour. Tapping a number chooses that page.
// Arrows at either end show that more numbers lie that way. The strip is one
// Tab stop: the keyboard's mark starts on the page on screen, Left and Right
// move it along the numbers, Return or Space chooses the marked page.
class PageNavView : public View, public ScrollViewDelegate {
    Q_OBJECT
public:
    // The width of one page number.
    static constexpr qreal kRowWidth = 50.0;

    explicit PageNavView(const QRectF& frame = QRectF());
    ~PageNavView() override;

    // Builds the parts still missing (each only once).
    void addTable();
    void awakeFromNib();

    PageNavViewDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(PageNavViewDelegate* delegate) { m_delegate = delegate; }

    // The block shown. A block with no page list still offers the first page,
    // and the last one when it knows how many there are.
    const PageNavPtr& pageNav() const { return m_pagenav; }
    void setPageNav(const PageNavPtr& pageNav);

    // The page chosen (0: the server chooses); setting it tells the delegate,
    // also when it is the page already shown.
    unsigned selectedPage() const { return m_selectedPage; }
    void setSelectedPage(unsigned page);
    // Goes back to a page without asking for it: a choice that could not be
    // loaded gives way to the page still shown.
    void restoreSelectedPage(unsigned page);
    // The page on screen, drawn in the title colour.
    unsigned currentPage() const { return m_currentPage; }
    void setCurrentPage(unsigned page);

    // The entries shown, in order; an entry without a page number is blank.
    const QList<std::shared_ptr<PageNavItem>>& entries() const { return m_entries; }
    int numberOfRows() const { return int(m_entries.size()); }
    PaginationCell* cellForRow(int row) const;
    // The row marked as chosen, or -1.
    int selectedRow() const { return m_selectedRow; }
    // What a tap on a row does: an entry with a page number chooses it.
    void didSelectRow(int row);

    // The page the keyboard's mark is on, shown while the strip has the focus.
    unsigned keyboardPage() const { return m_keyboardPage; }
    bool acceptsKeyboardFocus() const override;

    ScrollView* table() const { return m_table; }
    ImageView* background() const { return m_bg; }
    ImageView* leftArrow() const { return m_left; }
    ImageView* rightArrow() const { return m_right; }

    void scrollViewDidScroll(ScrollView* scrollView) override;
    void layoutSubviews() override;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void pressedByKeyboard() override;

private:
    void reloadStrip();
    void selectRow(int row);
    int rowOfPage(unsigned page) const;
    // Draws the keyboard's mark on its number, scrolled into sight.
    void showKeyboardMark();

    PageNavPtr m_pagenav;
    QList<std::shared_ptr<PageNavItem>> m_entries;
    unsigned m_selectedPage = 0;
    unsigned m_currentPage = 0;
    int m_selectedRow = -1;
    unsigned m_keyboardPage = 0;
    WeakRef<PageNavViewDelegate> m_delegate;
    ScrollView* m_table = nullptr;
    ImageView* m_bg = nullptr;
    ImageView* m_right = nullptr;
    ImageView* m_left = nullptr;
    QList<PaginationCell*> m_cells;
};

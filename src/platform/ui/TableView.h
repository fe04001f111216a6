#pragma once

#include "platform/ui/IndexPath.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableCellQueue.h"
#include "platform/ui/TableKeyboardChooser.h"
#include "platform/ui/TableLayout.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/TableViewStyle.h"

#include <QList>
#include <QMap>
#include <QPointer>
#include <QVariant>

class TableViewCell;

// Rows in sections, plain or grouped, on the scroll view's model. Heights
// come from the delegate (or rowHeight) when the data is loaded; only the
// rows on screen exist as cells, taken from the data source as they scroll
// in and queued for reuse by identifier as they scroll out. Plain tables keep
// a section's header at the top while its rows pass under it.
class TableView : public ScrollView {
    Q_OBJECT
public:
    explicit TableView(const QRectF& frame = QRectF(), TableViewStyle style = TableViewStyle::Plain);
    ~TableView() override;

    TableViewStyle style() const { return m_style; }
    TableViewDataSource* dataSource() const { return m_dataSource.get(); }
    void setDataSource(TableViewDataSource* dataSource);
    TableViewDelegate* tableDelegate() const;
    // The table's delegate is also its scroll view delegate.
    void setDelegate(TableViewDelegate* delegate);

    qreal rowHeight() const { return m_rowHeight; }
    void setRowHeight(qreal height) { m_rowHeight = height; }
    qreal sectionHeaderHeight() const { return m_sectionHeaderHeight; }
    void setSectionHeaderHeight(qreal height) { m_sectionHeaderHeight = height; }
    qreal sectionFooterHeight() const { return m_sectionFooterHeight; }
    void setSectionFooterHeight(qreal height) { m_sectionFooterHeight = height; }
    TableViewCellSeparatorStyle separatorStyle() const { return m_separatorStyle; }
    void setSeparatorStyle(TableViewCellSeparatorStyle style);
    QColor separatorColor() const { return m_separatorColor; }
    void setSeparatorColor(const QColor& color);
    bool allowsSelection() const { return m_allowsSelection; }
    void setAllowsSelection(bool allows) { m_allowsSelection = allows; }
    // Lists to choose from with the keyboard: Up and Down move the selected
    // row (without telling the delegate), Space chooses it as a tap does.
    // Off by default: the arrows scroll.
    bool keyboardChoosesRows() const { return m_keyboardChoosesRows; }
    void setKeyboardChoosesRows(bool on) { m_keyboardChoosesRows = on; }
    // Lists that choose one row and are done: Return chooses it too. Off by
    // default, where Return belongs to what holds the list (a panel's Done).
    bool returnChoosesRow() const { return m_returnChoosesRow; }
    void setReturnChoosesRow(bool on) { m_returnChoosesRow = on; }
    // Lists to open rows from: the arrows move, Space and Return choose.
    void setChoosesRowsByKeyboard(bool on)
    {
        setKeyboardChoosesRows(on);
        setReturnChoosesRow(on);
    }
    // While a row chosen by a key is being told: its selection is the
    // keyboard's place in the list, and stays.
    bool isChoosingByKeyboard() const { return m_keyboard.isChoosing(); }
    // Views above the first section and below the last; the table owns them.
    View* tableHeaderView() const;
    void setTableHeaderView(View* view);
    View* tableFooterView() const;
    void setTableFooterView(View* view);
    View* backgroundView() const;
    void setBackgroundView(View* view);

    // Asks the data source and delegate again for everything. The chosen
    // row stays chosen where the data source still has it (see its row
    // keys), and stays in sight if it was.
    void reloadData();
    int numberOfSections() const { return m_layout.numberOfSections(); }
    int numberOfRowsInSection(int section) const;

    // A queued cell of the identifier, made ready for reuse; null when none.
    TableViewCell* dequeueReusableCellWithIdentifier(const QString& identifier);
    // The cell of a row on screen, or null.
    TableViewCell* cellForRowAtIndexPath(const IndexPath& indexPath) const;
    QList<IndexPath> indexPathsForVisibleRows() const;
    QList<TableViewCell*> visibleCells() const;
    IndexPath indexPathForCell(const TableViewCell* cell) const;
    IndexPath indexPathForRowAtPoint(const QPointF& point) const;
    QRectF rectForRowAtIndexPath(const IndexPath& indexPath) const;
    QRectF rectForSection(int section) const;
    QRectF rectForHeaderInSection(int section) const;
    QRectF rectForFooterInSection(int section) const;
    // The header view shown for the section, or null.
    View* headerViewForSection(int section) const;

    void scrollToRowAtIndexPath(const IndexPath& indexPath, TableViewScrollPosition position, bool animated);
    IndexPath indexPathForSelectedRow() const { return m_selected; }
    void selectRowAtIndexPath(const IndexPath& indexPath, bool animated, TableViewScrollPosition position);
    void deselectRowAtIndexPath(const IndexPath& indexPath, bool animated);
    // Chooses the row as a tap does: asks and tells the delegate. The row
    // stays chosen unless the delegate deselects it.
    void chooseRow(const IndexPath& indexPath);

    // Cells made so far (visible and queued): what the table costs.
    int cellCount() const;

    void touchesBegan(const QPointF& point) override;
    void touchesEnded(const QPointF& point) override;
    void touchesCancelled() override;
    void drawRect(QPainter& painter, const QRectF& rect) override;
    bool canBecomeFirstResponder() const override { return m_keyboardChoosesRows; }
    // The list has the keyboard and no row is chosen yet: a ring round the
    // list says so (a chosen row shows itself).
    bool showsFocusRing() const { return m_keyboard.showsFocusRing(); }

protected:
    void contentOffsetDidChange() override;
    // Called after every placing of the rows (a reload, a scroll, a resize).
    virtual void didLayoutRows() {}
    void boundsSizeDidChange() override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void updateFocusRing() { m_keyboard.updateFocusRing(); }
    using Section = TableLayout::Section;
    void computeLayout();
    void layoutVisible();
    void recycle(TableViewCell* cell, bool keepShown = false) { m_queue.recycle(cell, keepShown); }
    void clearCells();
    qreal rowsLeft() const;
    qreal rowsWidth() const;
    // Where the chosen row is after a reload, from its key.
    IndexPath followChosenRow(const IndexPath& chosen);

    TableViewStyle m_style;
    WeakRef<TableViewDataSource> m_dataSource;
    WeakRef<TableViewDelegate> m_tableDelegate;
    qreal m_rowHeight = 44;
    qreal m_sectionHeaderHeight = 22;
    qreal m_sectionFooterHeight = 22;
    TableViewCellSeparatorStyle m_separatorStyle = TableViewCellSeparatorStyle::SingleLine;
    QColor m_separatorColor = QColor(224, 224, 224);
    bool m_allowsSelection = true;
    bool m_keyboardChoosesRows = false;
    bool m_returnChoosesRow = false;
    QPointer<View> m_headerView;
    QPointer<View> m_footerView;
    QPointer<View> m_backgroundView;
    TableLayout m_layout;
    QMap<IndexPath, QPointer<TableViewCell>> m_visible;
    TableCellQueue m_queue;
    IndexPath m_selected;
    QVariant m_selectedKey;
    TableKeyboardChooser m_keyboard{this};
    IndexPath m_touched;
    bool m_loaded = false;
    bool m_inLayout = false;
    bool m_layoutAgain = false;
};

#pragma once

#include "platform/ui/TableViewStyle.h"
#include "platform/ui/View.h"

#include <QPointer>
#include <QString>

class ImageView;
class Label;
class TableView;

// One row of a table: a content view holding a text label, a detail label
// and a picture laid out by the cell's style, an accessory on the right, and
// the selection's highlight. Cells with a reuse identifier go back to the
// table's queue when their row scrolls away.
class TableViewCell : public View {
    Q_OBJECT
public:
    explicit TableViewCell(TableViewCellStyle style = TableViewCellStyle::Default,
                           const QString& reuseIdentifier = QString());

    QString reuseIdentifier() const { return m_reuseIdentifier; }
    void setReuseIdentifier(const QString& identifier) { m_reuseIdentifier = identifier; }
    TableViewCellStyle cellStyle() const { return m_style; }

    View* contentView() const { return m_contentView; }
    Label* textLabel();
    Label* detailTextLabel();
    ImageView* imageView();

    TableViewCellAccessoryType accessoryType() const { return m_accessory; }
    void setAccessoryType(TableViewCellAccessoryType type);
    View* accessoryView() const;
    void setAccessoryView(View* view);
    TableViewCellSelectionStyle selectionStyle() const { return m_selectionStyle; }
    void setSelectionStyle(TableViewCellSelectionStyle style) { m_selectionStyle = style; }
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected, bool animated = false);
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted, bool animated = false);
    // Whether the row shows the selection's colour (selected or highlighted,
    // with a selection style) instead of its background.
    bool showsSelection() const;
    // A view drawn behind the content (replaces the cell's plain background).
    View* backgroundView() const;
    void setBackgroundView(View* view);

    // Called before the table hands the cell out again from its queue.
    virtual void prepareForReuse() {}
    // Called once after the cell's layout code has made its views.
    virtual void awakeFromNib() {}

    // Where the table placed the cell in a grouped section (for the rounded
    // outline), and whether it draws a separator under itself.
    enum class GroupPosition { None, Top, Middle, Bottom, Single };
    void setGroupPosition(GroupPosition position);
    void setSeparator(TableViewCellSeparatorStyle style, const QColor& color);

    // A row of a grouped table (a form of settings, not a long list) that
    // answers a tap is a stop of Tab's; Space and Return choose it.
    bool acceptsKeyboardFocus() const override;
    void layoutSubviews() override;
    void drawRect(QPainter& painter, const QRectF& rect) override;

protected:
    // Chooses the row, as a tap does.
    void pressedByKeyboard() override;
    // After showsSelection may have changed.
    virtual void selectionShownDidChange() {}

private:
    TableView* table() const;
    QRectF contentRect() const;
    void applyHighlight();

    TableViewCellStyle m_style;
    QString m_reuseIdentifier;
    View* m_contentView;
    Label* m_textLabel = nullptr;
    Label* m_detailTextLabel = nullptr;
    ImageView* m_imageView = nullptr;
    QPointer<View> m_accessoryView;
    QPointer<View> m_backgroundView;
    TableViewCellAccessoryType m_accessory = TableViewCellAccessoryType::None;
    TableViewCellSelectionStyle m_selectionStyle = TableViewCellSelectionStyle::Blue;
    GroupPosition m_groupPosition = GroupPosition::None;
    TableViewCellSeparatorStyle m_separator = TableViewCellSeparatorStyle::SingleLine;
    QColor m_separatorColor = QColor(224, 224, 224);
    bool m_selected = false;
    bool m_highlighted = false;
};

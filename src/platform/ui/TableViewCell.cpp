#include "platform/ui/TableViewCell.h"

#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/TableView.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {
const QColor kGroupBorder(171, 171, 171);
const QColor kDetailBlue(56, 84, 135);

QPainterPath groupPath(const QRectF& r, TableViewCell::GroupPosition position)
{
    const qreal radius = 10;
    const bool top = position == TableViewCell::GroupPosition::Top || position == TableViewCell::GroupPosition::Single;
    const bool bottom =
        position == TableViewCell::GroupPosition::Bottom || position == TableViewCell::GroupPosition::Single;
    QPainterPath path;
    path.moveTo(r.left(), r.top() + (top ? radius : 0));
    if (top)
        path.arcTo(QRectF(r.left(), r.top(), 2 * radius, 2 * radius), 180, -90);
    path.lineTo(r.right() - (top ? radius : 0), r.top());
    if (top)
        path.arcTo(QRectF(r.right() - 2 * radius, r.top(), 2 * radius, 2 * radius), 90, -90);
    path.lineTo(r.right(), r.bottom() - (bottom ? radius : 0));
    if (bottom)
        path.arcTo(QRectF(r.right() - 2 * radius, r.bottom() - 2 * radius, 2 * radius, 2 * radius), 0, -90);
    path.lineTo(r.left() + (bottom ? radius : 0), r.bottom());
    if (bottom)
        path.arcTo(QRectF(r.left(), r.bottom() - 2 * radius, 2 * radius, 2 * radius), 270, -90);
    path.closeSubpath();
    return path;
}
}  // namespace

TableViewCell::TableViewCell(TableViewCellStyle style, const QString& reuseIdentifier)
    : View(QRectF(0, 0, 320, 44)), m_style(style), m_reuseIdentifier(reuseIdentifier), m_contentView(new View())
{
    setOpaque(false);
    m_contentView->setAutoresizingMask(Autoresizing::FlexibleSize);
    addSubview(m_contentView);
    layoutSubviews();
}

Label* TableViewCell::textLabel()
{
    if (!m_textLabel) {
        m_textLabel = new Label();
        m_textLabel->setHighlightedTextColor(Qt::white);
        m_textLabel->setHighlighted(showsSelection());
        qreal size = 20;
        if (m_style == TableViewCellStyle::Subtitle)
            size = 18;
        else if (m_style == TableViewCellStyle::Value1)
            size = 17;
        else if (m_style == TableViewCellStyle::Value2)
            size = 12;
        m_textLabel->setFont(Font::boldSystemFontOfSize(size));
        if (m_style == TableViewCellStyle::Value2) {
            m_textLabel->setTextColor(QColor(82, 102, 145));
            m_textLabel->setTextAlignment(TextAlignment::Right);
        }
        m_contentView->addSubview(m_textLabel);
        applyHighlight();
        layoutSubviews();
    }
    return m_textLabel;
}

Label* TableViewCell::detailTextLabel()
{
    if (!m_detailTextLabel) {
        m_detailTextLabel = new Label();
        m_detailTextLabel->setHighlightedTextColor(Qt::white);
        m_detailTextLabel->setHighlighted(showsSelection());
        switch (m_style) {
        case TableViewCellStyle::Subtitle:
            m_detailTextLabel->setFont(Font::systemFontOfSize(14));
            m_detailTextLabel->setTextColor(QColor(128, 128, 128));
            break;
        case TableViewCellStyle::Value1:
            m_detailTextLabel->setFont(Font::systemFontOfSize(17));
            m_detailTextLabel->setTextColor(kDetailBlue);
            m_detailTextLabel->setTextAlignment(TextAlignment::Right);
            break;
        default:
            m_detailTextLabel->setFont(Font::boldSystemFontOfSize(15));
            break;
        }
        m_contentView->addSubview(m_detailTextLabel);
        applyHighlight();
        layoutSubviews();
    }
    return m_detailTextLabel;
}

ImageView* TableViewCell::imageView()
{
    if (!m_imageView) {
        m_imageView = new ImageView();
        m_imageView->setContentMode(ContentMode::Center);
        m_contentView->addSubview(m_imageView);
        layoutSubviews();
    }
    return m_imageView;
}

void TableViewCell::setAccessoryType(TableViewCellAccessoryType type)
{
    m_accessory = type;
    layoutSubviews();
    update();
}

View* TableViewCell::accessoryView() const
{
    return m_accessoryView.data();
}

void TableViewCell::setAccessoryView(View* view)
{
    if (m_accessoryView)
        m_accessoryView->removeFromSuperview();
    m_accessoryView = view;
    if (view)
        addSubview(view);
    layoutSubviews();
}

View* TableViewCell::backgroundView() const
{
    return m_backgroundView.data();
}

void TableViewCell::setBackgroundView(View* view)
{
    if (m_backgroundView)
        m_backgroundView->removeFromSuperview();
    m_backgroundView = view;
    if (view) {
        view->setFrame(bounds());
        view->setAutoresizingMask(Autoresizing::FlexibleSize);
        insertSubview(view, 0);
    }
    update();
}

void TableViewCell::setSelected(bool selected, bool)
{
    // Lists set every row's state on each reload: an unchanged one repaints nothing.
    if (selected == m_selected)
        return;
    m_selected = selected;
    applyHighlight();
}

void TableViewCell::setHighlighted(bool highlighted, bool)
{
    if (highlighted == m_highlighted)
        return;
    m_highlighted = highlighted;
    applyHighlight();
}

bool TableViewCell::showsSelection() const
{
    return (m_selected || m_highlighted) && m_selectionStyle != TableViewCellSelectionStyle::None;
}

void TableViewCell::applyHighlight()
{
    const bool on = showsSelection();
    // Every label of the row, its own and those a row adds: one with a lit
    // colour reads on the selection's blue.
    for (Label* l : m_contentView->findChildren<Label*>())
        l->setHighlighted(on);
    selectionShownDidChange();
    update();
}

void TableViewCell::setGroupPosition(GroupPosition position)
{
    if (position == m_groupPosition)
        return;
    m_groupPosition = position;
    update();
}

void TableViewCell::setSeparator(TableViewCellSeparatorStyle style, const QColor& color)
{
    if (style == m_separator && (!color.isValid() || color == m_separatorColor))
        return;
    m_separator = style;
    if (color.isValid())
        m_separatorColor = color;
    update();
}

QRectF TableViewCell::contentRect() const
{
    QRectF r = bounds();
    if (m_accessoryView) {
        const QSizeF a = m_accessoryView->frame().size();
        m_accessoryView->setFrame(QRectF(r.right() - 10 - a.width(), (r.height() - a.height()) / 2, a.width(), a.height()));
        r.setRight(r.right() - 20 - a.width());
    } else if (m_accessory != TableViewCellAccessoryType::None) {
        r.setRight(r.right() - (m_accessory == TableViewCellAccessoryType::DetailDisclosureButton ? 39 : 30));
    }
    return r;
}

void TableViewCell::layoutSubviews()
{
    const QRectF content = contentRect();
    m_contentView->setFrame(content);
    const qreal h = content.height();
    qreal x = 10;
    if (m_imageView && !m_imageView->image().isNull()) {
        const QSizeF s = ResourceImages::pointSize(m_imageView->image());
        const qreal w = qMin(s.width(), h);
        m_imageView->setFrame(QRectF(0, 0, qMax(w, h), h));
        x = m_imageView->frame().right() + 6;
    } else if (m_imageView) {
        m_imageView->setFrame(QRectF());
    }
    const qreal width = content.width() - x - 10;
    switch (m_style) {
    case TableViewCellStyle::Default:
        if (m_textLabel)
            m_textLabel->setFrame(QRectF(x, 0, width, h));
        break;
    case TableViewCellStyle::Subtitle: {
        const bool detail = m_detailTextLabel && !m_detailTextLabel->text().isEmpty();
        if (m_textLabel)
            m_textLabel->setFrame(detail ? QRectF(x, h / 2 - 20, width, 22) : QRectF(x, 0, width, h));
        if (m_detailTextLabel)
            m_detailTextLabel->setFrame(QRectF(x, h / 2 + 2, width, 18));
        break;
    }
    case TableViewCellStyle::Value1: {
        // The title takes the room it needs (at most three fifths); the
        // detail takes the rest, right aligned.
        const qreal title = m_textLabel ? qMin(width * 0.6, m_textLabel->sizeThatFits(QSizeF()).width()) : 0;
        if (m_textLabel)
            m_textLabel->setFrame(QRectF(x, 0, title, h));
        if (m_detailTextLabel)
            m_detailTextLabel->setFrame(QRectF(x + title + 8, 0, qMax<qreal>(0, width - title - 8), h));
        break;
    }
    case TableViewCellStyle::Value2:
        if (m_textLabel)
            m_textLabel->setFrame(QRectF(x, 0, 67, h));
        if (m_detailTextLabel)
            m_detailTextLabel->setFrame(QRectF(x + 73, 0, width - 73, h));
        break;
    }
}

void TableViewCell::drawRect(QPainter& painter, const QRectF& rect)
{
    const bool grouped = m_groupPosition != GroupPosition::None;
    const bool lit = showsSelection();
    QBrush fill(backgroundColor().isValid() ? backgroundColor() : QColor(Qt::white));
    if (lit) {
        QLinearGradient g(rect.topLeft(), rect.bottomLeft());
        if (m_selectionStyle == TableViewCellSelectionStyle::Gray) {
            g.setColorAt(0, QColor(190, 190, 190));
            g.setColorAt(1, QColor(140, 140, 140));
        } else {
            g.setColorAt(0, QColor(5, 140, 245));
            g.setColorAt(1, QColor(1, 93, 230));
        }
        fill = QBrush(g);
    }
    if (grouped) {
        const QPainterPath path = groupPath(rect.adjusted(0.5, 0.5, -0.5, -0.5), m_groupPosition);
        if (!m_backgroundView || lit)
            painter.fillPath(path, fill);
        painter.setPen(QPen(kGroupBorder, 1));
        painter.drawPath(path);
    } else {
        // An opaque background that covers every pixel is drawn already.
        const bool filled = !lit && backgroundColor().isValid() && testAttribute(Qt::WA_OpaquePaintEvent);
        if ((!m_backgroundView || lit) && !filled)
            painter.fillRect(rect, fill);
        if (m_separator == TableViewCellSeparatorStyle::SingleLine) {
            painter.setPen(QPen(m_separatorColor, 1));
            painter.drawLine(QPointF(rect.left(), rect.bottom() - 0.5), QPointF(rect.right(), rect.bottom() - 0.5));
        }
    }
    // The accessory, drawn on the right.
    const QColor mark = lit ? QColor(Qt::white) : QColor(128, 128, 128);
    const QPointF c(rect.right() - 18, rect.center().y());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    switch (m_accessory) {
    case TableViewCellAccessoryType::DisclosureIndicator:
        painter.setPen(QPen(mark, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawPolyline(QPolygonF({c + QPointF(-3, -5), c + QPointF(2, 0), c + QPointF(-3, 5)}));
        break;
    case TableViewCellAccessoryType::Checkmark:
        painter.setPen(QPen(lit ? QColor(Qt::white) : kDetailBlue, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(QPolygonF({c + QPointF(-7, 0), c + QPointF(-2, 6), c + QPointF(6, -7)}));
        break;
    case TableViewCellAccessoryType::DetailDisclosureButton: {
        const QRectF circle(c - QPointF(12, 12), QSizeF(25, 25));
        QLinearGradient g(circle.topLeft(), circle.bottomLeft());
        g.setColorAt(0, QColor(74, 144, 226));
        g.setColorAt(1, QColor(20, 86, 186));
        painter.setPen(QPen(Qt::white, 2));
        painter.setBrush(g);
        painter.drawEllipse(circle);
        painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawPolyline(QPolygonF({circle.center() + QPointF(-2, -5), circle.center() + QPointF(3, 0),
                                        circle.center() + QPointF(-2, 5)}));
        break;
    }
    case TableViewCellAccessoryType::None:
        break;
    }
    painter.restore();
    if (grouped && (m_groupPosition == GroupPosition::Top || m_groupPosition == GroupPosition::Middle)) {
        painter.setPen(QPen(m_separatorColor, 1));
        painter.drawLine(QPointF(rect.left() + 1, rect.bottom() - 0.5), QPointF(rect.right() - 1, rect.bottom() - 0.5));
    }
}

TableView* TableViewCell::table() const
{
    for (View* v = superview(); v; v = v->superview()) {
        if (auto* found = qobject_cast<TableView*>(v))
            return found;
    }
    return nullptr;
}

bool TableViewCell::acceptsKeyboardFocus() const
{
    // A list's rows are many and the wheel walks them; a picker's rows go
    // by the arrows once the list has the keys.
    const TableView* list = table();
    return list && list->style() == TableViewStyle::Grouped && list->allowsSelection()
           && !list->canBecomeFirstResponder() && m_selectionStyle != TableViewCellSelectionStyle::None
           && list->indexPathForCell(this).isValid();
}

void TableViewCell::pressedByKeyboard()
{
    TableView* list = table();
    list->chooseRow(list->indexPathForCell(this));
}

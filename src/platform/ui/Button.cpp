#include "platform/ui/Button.h"

#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ResourceImages.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <typeinfo>

namespace {
const QColor kRoundedTitle(50, 79, 133);
const QColor kRoundedBorder(142, 150, 164);
}

template <typename T>
T Button::lookup(const QHash<unsigned, T>& table, unsigned state)
{
    const auto it = table.constFind(state);
    if (it != table.constEnd())
        return *it;
    // A selected and highlighted button falls back to its highlighted look.
    if ((state & ControlState::Highlighted) && table.contains(ControlState::Highlighted))
        return table.value(ControlState::Highlighted);
    return table.value(ControlState::Normal);
}

Button::Button(const QRectF& frame, ButtonType type)
    : Control(frame), m_type(type), m_titleLabel(new Label()), m_imageView(new ImageView())
{
    m_titleLabel->setFont(type == ButtonType::RoundedRect ? Font::boldSystemFontOfSize(15)
                                                          : Font::boldSystemFontOfSize(18));
    m_titleLabel->setTextAlignment(TextAlignment::Center);
    m_titleLabel->setShadowOffset(QSizeF(0, 0));
    m_titleLabel->setLineBreakMode(LineBreakMode::MiddleTruncation);
    addSubview(m_imageView);
    addSubview(m_titleLabel);
    if (type == ButtonType::RoundedRect) {
        m_titleColors.insert(ControlState::Normal, kRoundedTitle);
        m_titleColors.insert(ControlState::Highlighted, Qt::white);
    } else {
        m_titleColors.insert(ControlState::Normal, Qt::white);
    }
    if (type == ButtonType::ContactAdd || type == ButtonType::DetailDisclosure) {
        if (frame.isEmpty())
            setFrame(QRectF(frame.topLeft(), QSizeF(29, 29)));
    }
    refreshContent();
}

void Button::setTitle(const QString& title, unsigned state)
{
    m_titles.insert(state, title);
    refreshContent();
}

QString Button::titleForState(unsigned state) const
{
    return lookup(m_titles, state);
}

void Button::setTitleColor(const QColor& color, unsigned state)
{
    m_titleColors.insert(state, color);
    refreshContent();
}

QColor Button::titleColorForState(unsigned state) const
{
    return lookup(m_titleColors, state);
}

void Button::setTitleShadowColor(const QColor& color, unsigned state)
{
    m_shadowColors.insert(state, color);
    refreshContent();
}

QColor Button::titleShadowColorForState(unsigned state) const
{
    return lookup(m_shadowColors, state);
}

void Button::setImage(const QImage& image, unsigned state)
{
    m_images.insert(state, image);
    refreshContent();
}

QImage Button::imageForState(unsigned state) const
{
    return lookup(m_images, state);
}

void Button::setBackgroundImage(const QImage& image, unsigned state)
{
    m_backgrounds.insert(state, image);
    update();
}

QImage Button::backgroundImageForState(unsigned state) const
{
    return lookup(m_backgrounds, state);
}

void Button::setContentEdgeInsets(const EdgeInsets& insets)
{
    m_contentInsets = insets;
    layoutSubviews();
}

void Button::setContentHorizontalAlignment(ContentHorizontalAlignment alignment)
{
    m_horizontalAlignment = alignment;
    layoutSubviews();
}

void Button::stateDidChange()
{
    refreshContent();
    update();
}

void Button::refreshContent()
{
    const unsigned s = state();
    m_titleLabel->setText(titleForState(s));
    QColor color = titleColorForState(s);
    if (!isEnabled() && !m_titleColors.contains(ControlState::Disabled))
        color.setAlphaF(color.alphaF() * 0.5f);
    m_titleLabel->setTextColor(color);
    m_titleLabel->setShadowColor(titleShadowColorForState(s));
    QImage image = imageForState(s);
    if (!image.isNull() && m_adjustsImage && isHighlighted() && !m_images.contains(ControlState::Highlighted)) {
        // The pressed picture is the normal one, darkened.
        QImage dark = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QPainter p(&dark);
        p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        p.fillRect(dark.rect(), QColor(0, 0, 0, 90));
        p.end();
        image = dark;
    }
    m_imageView->setImage(image);
    layoutSubviews();
}

QSizeF Button::sizeThatFits(const QSizeF&) const
{
    const QSizeF title = m_titleLabel->sizeThatFits(QSizeF());
    const QSizeF image = ResourceImages::pointSize(imageForState(ControlState::Normal));
    QSizeF size(title.width() + image.width(), qMax(title.height(), image.height()));
    const QSizeF background = ResourceImages::pointSize(backgroundImageForState(ControlState::Normal));
    size = size.expandedTo(background);
    if (m_type == ButtonType::RoundedRect)
        size += QSizeF(24, 14);
    return size + QSizeF(m_contentInsets.left + m_contentInsets.right, m_contentInsets.top + m_contentInsets.bottom);
}

void Button::layoutSubviews()
{
    const QRectF content = m_contentInsets.insetRect(bounds());
    const QSizeF image = ResourceImages::pointSize(m_imageView->image());
    // A title of several lines wraps in the room beside the picture.
    const QSizeF room(qMax<qreal>(0, content.width() - image.width()), 0);
    QSizeF title = m_titleLabel->text().isEmpty() ? QSizeF(0, 0) : m_titleLabel->sizeThatFits(room);
    title.setWidth(qMin(title.width(), qMax<qreal>(0, content.width() - image.width())));
    const qreal total = image.width() + title.width();
    qreal x = content.x() + (content.width() - total) / 2;
    if (m_horizontalAlignment == ContentHorizontalAlignment::Left)
        x = content.x();
    else if (m_horizontalAlignment == ContentHorizontalAlignment::Right)
        x = content.right() - total;
    m_imageView->setFrame(QRectF(x, content.y() + (content.height() - image.height()) / 2, image.width(),
                                 image.height()));
    x += image.width();
    m_titleLabel->setFrame(QRectF(x, content.y() + (content.height() - title.height()) / 2, title.width(),
                                  title.height()));
}

bool Button::drawsNothing() const
{
    // A kind of button of its own may draw more.
    return typeid(*this) == typeid(Button) && m_type != ButtonType::RoundedRect && m_type != ButtonType::ContactAdd
           && m_type != ButtonType::DetailDisclosure && backgroundImageForState(state()).isNull();
}

void Button::drawRect(QPainter& painter, const QRectF& rect)
{
    const QImage background = backgroundImageForState(state());
    if (!background.isNull()) {
        painter.drawImage(rect, ResourceImages::forPainter(background, painter));
        if (isHighlighted() && !m_backgrounds.contains(ControlState::Highlighted))
            painter.fillRect(rect, QColor(0, 0, 0, 60));
    }
    if (m_type == ButtonType::RoundedRect) {
        QPainterPath path;
        path.addRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 9, 9);
        if (isHighlighted()) {
            QLinearGradient g(rect.topLeft(), rect.bottomLeft());
            g.setColorAt(0, QColor(5, 140, 245));
            g.setColorAt(1, QColor(1, 93, 230));
            painter.fillPath(path, g);
        } else {
            painter.fillPath(path, Qt::white);
        }
        painter.setPen(QPen(kRoundedBorder, 1));
        painter.drawPath(path);
    } else if (m_type == ButtonType::ContactAdd || m_type == ButtonType::DetailDisclosure) {
        const QRectF circle = QRectF(rect.center() - QPointF(11, 11), QSizeF(22, 22));
        QLinearGradient g(circle.topLeft(), circle.bottomLeft());
        g.setColorAt(0, QColor(74, 144, 226));
        g.setColorAt(1, QColor(20, 86, 186));
        painter.setPen(QPen(Qt::white, 2));
        painter.setBrush(g);
        painter.drawEllipse(circle);
        painter.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF c = circle.center();
        if (m_type == ButtonType::ContactAdd) {
            painter.drawLine(c - QPointF(5, 0), c + QPointF(5, 0));
            painter.drawLine(c - QPointF(0, 5), c + QPointF(0, 5));
        } else {
            painter.drawPolyline(QPolygonF({c + QPointF(-2, -5), c + QPointF(3, 0), c + QPointF(-2, 5)}));
        }
    }
}

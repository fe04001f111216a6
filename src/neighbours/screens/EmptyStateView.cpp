#include "neighbours/screens/EmptyStateView.h"

#include "app/config/Customizer.h"
#include "app/widgets/SizeToFitFixedWidth.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

EmptyStateView::EmptyStateView(const QRectF& frame) : View(frame)
{
    setBackgroundColor(Qt::transparent);
    setOpaque(false);
    setUserInteractionEnabled(false);
    setAutoresizingMask(Autoresizing::FlexibleSize);
    Customizer& theme = Customizer::getInstance();
    m_headline = Label::centredParagraph(Font::boldSystemFontOfSize(17), theme.colorForKey(kColorTextTitle));
    m_message = Label::centredParagraph(Font::systemFontOfSize(14), theme.colorForKey(kColorTextSecondary));
    addSubview(m_headline);
    addSubview(m_message);
    layoutSubviews();
}

QString EmptyStateView::headline() const
{
    return m_headline->text();
}

void EmptyStateView::setHeadline(const QString& headline)
{
    m_headline->setText(headline);
    layoutSubviews();
}

QString EmptyStateView::message() const
{
    return m_message->text();
}

void EmptyStateView::setMessage(const QString& message)
{
    m_message->setText(message);
    layoutSubviews();
}

void EmptyStateView::show(const QString& headline, const QString& message)
{
    m_headline->setText(headline);
    m_message->setText(message);
    layoutSubviews();
}

void EmptyStateView::layoutSubviews()
{
    const QRectF b = bounds();
    const qreal width = qMax<qreal>(0, b.width() - 2 * kSideMargin);
    m_headline->setFrame(QRectF(kSideMargin, 0, width, 0));
    sizeToFitFixedWidth(m_headline, width);
    m_message->setFrame(QRectF(kSideMargin, 0, width, 0));
    sizeToFitFixedWidth(m_message, width);
    const qreal headlineHeight = m_headline->text().isEmpty() ? 0 : m_headline->frame().height();
    const qreal gap = headlineHeight > 0 && !m_message->text().isEmpty() ? kGap : 0;
    const qreal total = headlineHeight + gap + m_message->frame().height();
    // A little above the middle, where the eye looks first; never above the top.
    const qreal top = qMax<qreal>(12, (b.height() - total) * 0.38);
    m_headline->setFrame(QRectF(kSideMargin, top, width, headlineHeight));
    m_message->setFrame(QRectF(kSideMargin, top + headlineHeight + gap, width, m_message->frame().height()));
}

#include "app/widgets/StatusMessageView.h"

#include "app/config/Customizer.h"
#include "app/widgets/GradientButton.h"
#include "app/widgets/SizeToFitFixedWidth.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

#include "platform/foundation/Localized.h"

StatusMessageView::StatusMessageView(const QRectF& frame) : View(frame)
{
    setBackgroundColor(Qt::transparent);
    setOpaque(false);
    Customizer& theme = Customizer::getInstance();
    m_headline = Label::centredParagraph(Font::boldSystemFontOfSize(16), theme.colorForKey(kColorTextTitle));
    m_message = Label::centredParagraph(Font::systemFontOfSize(14), theme.colorForKey(kColorTextSecondary));
    addSubview(m_headline);
    addSubview(m_message);
    m_retry = new GradientButton(QRectF(0, 0, kButtonWidth, kButtonHeight));
    m_retry->useRedDeleteStyle();
    m_retry->setTitle(localized("try_again"));
    m_retry->titleLabel()->setFont(Font::boldSystemFontOfSize(14));
    m_retry->setHidden(true);
    addSubview(m_retry);
    layoutSubviews();
}

void StatusMessageView::show(const QString& headline, const QString& message, bool retry)
{
    m_headline->setText(headline);
    m_message->setText(message);
    m_retry->setHidden(!retry);
    const QRectF f = frame();
    setFrame(QRectF(f.x(), f.y(), f.width(), contentHeight()));
    layoutSubviews();
}

void StatusMessageView::setRetryTitle(const QString& title)
{
    m_retry->setTitle(title);
}

QString StatusMessageView::headline() const
{
    return m_headline->text();
}

QString StatusMessageView::message() const
{
    return m_message->text();
}

bool StatusMessageView::offersRetry() const
{
    return !m_retry->isHidden();
}

qreal StatusMessageView::contentHeight()
{
    layoutSubviews();
    const qreal bottom = m_retry->isHidden() ? m_message->frame().bottom() : m_retry->frame().bottom();
    return bottom + kTopMargin;
}

void StatusMessageView::layoutSubviews()
{
    const qreal width = qMax<qreal>(0, bounds().width() - 2 * kSideMargin);
    qreal y = kTopMargin;
    for (Label* label : {m_headline, m_message}) {
        label->setFrame(QRectF(kSideMargin, y, width, 0));
        if (label->text().isEmpty())
            continue;
        sizeToFitFixedWidth(label, width);
        y = label->frame().bottom() + kGap;
    }
    m_retry->setFrame(QRectF((bounds().width() - kButtonWidth) / 2, y + kGap, kButtonWidth, kButtonHeight));
}

#include "app/widgets/PullRefreshTableHeaderView.h"

#include "app/text/Formatter.h"

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/ScrollView.h"

#include "platform/foundation/Localized.h"
#include "platform/foundation/UserDefaults.h"

#include <QPointer>

#include <cmath>

namespace {

Label* bandLabel(const QRectF& frame, const QFont& font, const QColor& textColor)
{
    auto* label = new Label(frame);
    label->setAutoresizingMask(Autoresizing::FlexibleWidth);
    label->setFont(font);
    label->setTextColor(textColor);
    label->setShadowColor(QColor::fromRgbF(0.9, 0.9, 0.9, 1.0));
    label->setShadowOffset(QSizeF(0, 1));
    label->setBackgroundColor(Qt::transparent);
    label->setOpaque(false);
    label->setTextAlignment(TextAlignment::Center);
    return label;
}

}  // namespace

PullRefreshTableHeaderView::PullRefreshTableHeaderView(const QRectF& frame, const QString& arrowImageName,
                                                       const QColor& textColor)
    : View(frame)
{
    const qreal w = frame.width();
    const qreal h = frame.height();
    setAutoresizingMask(Autoresizing::FlexibleWidth);
    setBackgroundColor(QColor(226, 231, 237));
    setOpaque(true);

    m_lastUpdatedLabel = bandLabel(QRectF(0, h - 30, w, 20), Font::systemFontOfSize(12), textColor);
    addSubview(m_lastUpdatedLabel);
    m_statusLabel = bandLabel(QRectF(0, h - 48, w, 20), Font::boldSystemFontOfSize(13), textColor);
    addSubview(m_statusLabel);

    // The picture keeps its shape inside the frame; its own pixel ratio keeps it
    // sharp on a zoomed window.
    m_arrowImage = new ImageView(QRectF(25, h - 65, 30, 55));
    m_arrowImage->setContentMode(ContentMode::ScaleAspectFit);
    m_arrowImage->setBackgroundColor(Qt::transparent);
    m_arrowImage->setOpaque(false);
    m_arrowImage->setImage(ResourceImages::named(arrowImageName));
    addSubview(m_arrowImage);

    m_activityView = new ActivityIndicatorView(ActivityIndicatorStyle::Gray);
    m_activityView->setFrame(QRectF(25, h - 38, 20, 20));
    addSubview(m_activityView);

    setState(Normal);
}

PullRefreshTableHeaderView::PullRefreshTableHeaderView(const QRectF& frame)
    : PullRefreshTableHeaderView(frame, QStringLiteral("blueArrow.png"), QColor(87, 108, 137))
{
}

PullRefreshTableHeaderView::~PullRefreshTableHeaderView()
{
    m_delegate.reset();
}

void PullRefreshTableHeaderView::setState(int state)
{
    switch (state) {
    case Pulling:
        m_statusLabel->setText(localized("Release to refresh..."));
        View::animate(kArrowTurnDuration, [this] { m_arrowImage->setTransform(ViewTransform::makeRotation(M_PI)); });
        break;
    case Normal:
        m_statusLabel->setText(localized("Pull down to refresh..."));
        m_activityView->stopAnimating();
        m_arrowImage->setHidden(false);
        if (m_state == Pulling) {
            // Pulled back above the threshold: the arrow turns down again.
            View::animate(kArrowTurnDuration, [this] { m_arrowImage->setTransform(ViewTransform::identity()); });
        } else {
            m_arrowImage->setTransform(ViewTransform::identity());
        }
        refreshLastUpdatedDate();
        break;
    case Loading:
        m_statusLabel->setText(localized("Loading..."));
        m_activityView->startAnimating();
        m_arrowImage->setHidden(true);
        break;
    default:
        break;
    }
    m_state = state;
}

void PullRefreshTableHeaderView::refreshLastUpdatedDate()
{
    PullRefreshTableHeaderDelegate* delegate = m_delegate.get();
    const std::optional<QDateTime> date =
        delegate ? delegate->pullRefreshTableHeaderDataSourceLastUpdated(this) : std::nullopt;
    if (!date) {
        m_lastUpdatedLabel->setText(QString());
        return;
    }
    // Not a string-table text: the line reads the same in every language.
    const QString text = QStringLiteral("Last Updated: ")
                         + Formatter::defaultFormatter().cellDateFormatter().stringFromDate(*date);
    m_lastUpdatedLabel->setText(text);
    // Written (setObject saves the settings file) only when the line
    // changed: every answer of a page comes here, mostly within one minute.
    if (!(UserDefaults::standard().objectForKey(kLastRefreshKey) == Value(text)))
        UserDefaults::standard().setObject(kLastRefreshKey, Value(text));
}

bool PullRefreshTableHeaderView::delegateIsLoading()
{
    PullRefreshTableHeaderDelegate* delegate = m_delegate.get();
    return delegate && delegate->pullRefreshTableHeaderDataSourceIsLoading(this);
}

void PullRefreshTableHeaderView::pullRefreshScrollViewDidScroll(ScrollView* scrollView)
{
    if (!scrollView)
        return;
    const qreal y = scrollView->contentOffset().y();
    if (m_state == Loading) {
        // The open band stays on screen while the list moves under it.
        const qreal top = std::min(std::max(-y, 0.0), kLoadingHeight);
        scrollView->setContentInset(EdgeInsets{top, 0, 0, 0});
        return;
    }
    if (!scrollView->isDragging())
        return;
    const bool loading = delegateIsLoading();
    if (m_state == Pulling && y > kTriggerOffset && y < 0 && !loading)
        setState(Normal);
    else if (m_state == Normal && y < kTriggerOffset && !loading)
        setState(Pulling);
    if (scrollView->contentInset().top != 0)
        scrollView->setContentInset(EdgeInsets{});
}

void PullRefreshTableHeaderView::pullRefreshScrollViewDidEndDragging(ScrollView* scrollView)
{
    if (!scrollView)
        return;
    const bool loading = delegateIsLoading();
    if (scrollView->contentOffset().y() > kTriggerOffset || loading)
        return;
    QPointer<PullRefreshTableHeaderView> self(this);
    QPointer<ScrollView> list(scrollView);
    if (PullRefreshTableHeaderDelegate* delegate = m_delegate.get())
        delegate->pullRefreshTableHeaderDidTriggerRefresh(this);
    if (!self)
        return;
    setState(Loading);
    if (list)
        View::animate(kOpenDuration, [list] { list->setContentInset(EdgeInsets{kLoadingHeight, 0, 0, 0}); });
}

void PullRefreshTableHeaderView::pullRefreshScrollViewDataSourceDidFinishedLoading(ScrollView* scrollView)
{
    if (scrollView) {
        QPointer<ScrollView> list(scrollView);
        View::animate(kCloseDuration, [list] {
            if (list)
                list->setContentInset(EdgeInsets{});
        });
    }
    setState(Normal);
}

#include "forum/screens/HomeNotices.h"

HomeNotices::HomeNotices(const QRectF& frame) : View(frame)
{
    setObjectName(QStringLiteral("notices"));
    setBackgroundColor(Qt::transparent);
    setOpaque(false);
}

qreal HomeNotices::show(const QList<NoticePtr>& notices, NoticeControllerDelegate* delegate)
{
    for (const NoticeControllerPtr& controller : std::as_const(m_controllers)) {
        if (controller->isViewLoaded())
            controller->view()->removeFromSuperview();
    }
    m_controllers.clear();
    setHidden(notices.isEmpty());
    qreal stacked = 0;
    for (int i = 0; i < notices.size(); ++i) {
        auto controller = std::make_shared<NoticeController>();
        controller->setDelegate(delegate);
        controller->setNotice(notices[i]);
        controller->setNoticeIndex(i);
        View* strip = controller->view();
        strip->setFrame(QRectF(QPointF(0, stacked), strip->frame().size()));
        addSubview(strip);
        stacked += strip->frame().height();
        m_controllers.append(controller);
    }
    return stacked;
}

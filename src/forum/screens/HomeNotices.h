#pragma once

#include "forum/model/Notice.h"
#include "forum/screens/NoticeController.h"

#include "platform/ui/View.h"

#include <QList>

class NoticeControllerDelegate;

// The forum's notices on the home screen, one strip each, stacked from the
// top; a strip's close button goes to the delegate.
class HomeNotices : public View {
    Q_OBJECT
public:
    explicit HomeNotices(const QRectF& frame);

    // The strips of these notices in place of those shown; hidden with none.
    // Answers their height.
    qreal show(const QList<NoticePtr>& notices, NoticeControllerDelegate* delegate);
    // The strips shown, top first.
    const QList<NoticeControllerPtr>& controllers() const { return m_controllers; }

private:
    QList<NoticeControllerPtr> m_controllers;
};

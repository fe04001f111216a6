#include "forum/screens/NoticeController.h"

#include "app/config/Customizer.h"

#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/Toolbar.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Localized.h"

NoticeController::NoticeController()
{
    // The strip is its whole view.
    setPreferredViewFrame(kBackgroundFrame);
    view();
}

void NoticeController::loadView()
{
    ViewController::loadView();
    view()->setAutoresizingMask(Autoresizing::None);
    view()->setFrame(kBackgroundFrame);
}

void NoticeController::buildNib(View* root)
{
    Customizer& theme = Customizer::getInstance();
    m_noticesBg = new Toolbar(kBackgroundFrame);
    m_noticesBg->setTintColor(theme.colorForKey(kColorBackgroundNotification));
    root->addSubview(m_noticesBg);
    m_noticesText = new Button(QRectF(6, 0, 282, kBackgroundFrame.height()), ButtonType::Custom);
    m_noticesText->titleLabel()->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 12));
    m_noticesText->setTitleColor(theme.colorForKey(kColorTextNotification), ControlState::Normal);
    m_noticesText->addTarget(this, &NoticeController::showNotice, ControlEvent::TouchUpInside);
    root->addSubview(m_noticesText);
    m_dismissButton = new Button(QRectF(290, 0, 30, kBackgroundFrame.height()), ButtonType::Custom);
    m_dismissButton->titleLabel()->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 15));
    m_dismissButton->setTitle(QStringLiteral("\u00D7"), ControlState::Normal);
    m_dismissButton->setTitleColor(theme.colorForKey(kColorTextNotification), ControlState::Normal);
    m_dismissButton->addTarget(this, &NoticeController::deleteNotice, ControlEvent::TouchUpInside);
    root->addSubview(m_dismissButton);
}

void NoticeController::setNotice(const NoticePtr& notice)
{
    m_notice = notice;
    if (isViewLoaded())
        m_noticesText->setTitle(notice ? notice->notice_plain() : QString(), ControlState::Normal);
}

void NoticeController::showNotice()
{
    if (!m_notice)
        return;
    AlertView::create(localized("home_notice"), m_notice->notice_plain(), nullptr,
                      {localized("ok")})
        ->show();
}

void NoticeController::deleteNotice()
{
    if (NoticeControllerDelegate* delegate = m_delegate.get())
        delegate->deleteNotice(this);
}

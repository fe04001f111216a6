#pragma once

#include "forum/model/Notice.h"
#include "forum/screens/NoticeControllerDelegate.h"

#include "platform/ui/ViewController.h"

#include "platform/foundation/WeakRef.h"

class Button;
class Toolbar;

// One notice of the home screen: a strip with the notice's text, which shows
// the whole notice when tapped, and a button that dismisses it.
class NoticeController : public ViewController {
public:
    static inline const QRectF kBackgroundFrame = QRectF(0, 0, 320, 24);

    NoticeController();

    void buildNib(View* root) override;
    void loadView() override;

    const NoticePtr& notice() const { return m_notice; }
    void setNotice(const NoticePtr& notice);
    // The whole notice in an alert.
    void showNotice();
    // Asks the delegate to dismiss the notice.
    void deleteNotice();

    NoticeControllerDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(NoticeControllerDelegate* delegate) { m_delegate = delegate; }
    int noticeIndex() const { return m_noticeIndex; }
    void setNoticeIndex(int index) { m_noticeIndex = index; }

    Toolbar* noticesBg() const { return m_noticesBg; }
    Button* noticesText() const { return m_noticesText; }
    Button* dismissButton() const { return m_dismissButton; }

private:
    Toolbar* m_noticesBg = nullptr;
    Button* m_noticesText = nullptr;
    Button* m_dismissButton = nullptr;
    NoticePtr m_notice;
    int m_noticeIndex = 0;
    WeakRef<NoticeControllerDelegate> m_delegate;
};

using NoticeControllerPtr = std::shared_ptr<NoticeController>;

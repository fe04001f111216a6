#include "forum/screens/ReportPost.h"

#include "forum/screens/AccessoryBackdrop.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"

#include "platform/foundation/Localized.h"

namespace {

const QColor kSuggestedColour(0x8A, 0x94, 0xA0);

}  // namespace

ReportPost::ReportPost()
{
    setTitle(localized("report_title"));
}

ReportPost::~ReportPost()
{
    // The text losing the focus as the view goes tells nobody.
    if (isViewLoaded())
        m_message->setDelegate(nullptr);
}

void ReportPost::buildNib(View* root)
{
    AccessoryBackdrop::addTo(root);
    m_hint = AccessoryBackdrop::addHint(root, QRectF(20, 12, 280, 40), 15);
    m_message = AccessoryBackdrop::addTextBox(root, QRectF(20, 58, 280, 140));
    m_message->setTextColor(kSuggestedColour);
    m_message->setDelegate(this);
}

void ReportPost::viewDidLoad()
{
    UIViewControllerCommon::viewDidLoad();
    m_hint->setText(localized("report_hint"));
    m_message->setText(localized("report_reason"));
    navigationItem()->setRightBarButtonItem(
        BarButtonItem::withTitle(localized("submit"), BarButtonItemStyle::Plain, this, &ReportPost::report));
}

void ReportPost::textViewDidBeginEditing(TextView* textView)
{
    if (m_messageHasChanged || textView != m_message)
        return;
    m_messageHasChanged = true;
    m_message->setText(QString());
    m_message->setTextColor(Qt::black);
}

void ReportPost::report()
{
    if (m_reported)
        return;
    m_reported = true;
    const std::shared_ptr<ViewController> guard = weak_from_this().lock();
    if (const PostPtr reported = m_post.lock())
        reported->report(m_message ? m_message->text() : localized("report_reason"));
    if (m_message && m_message->isFirstResponder())
        m_message->resignFirstResponder();
    if (NavigationController* navigation = navigationController())
        navigation->popViewController(this, true);
}

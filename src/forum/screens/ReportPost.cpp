#include "forum/screens/ReportPost.h"

#include "forum/screens/AccessoryBackdrop.h"

#include "app/widgets/RoundedRectView.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"

#include "platform/foundation/Bundle.h"

namespace {

QString localized(const char* key)
{
    return Bundle::main().localizedString(QString::fromLatin1(key));
}

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
    m_hint = new Label(QRectF(20, 12, 280, 40));
    m_hint->setFont(Font::boldSystemFontOfSize(15));
    m_hint->setTextColor(Qt::white);
    m_hint->setShadowColor(QColor(0, 0, 0, 110));
    m_hint->setBackgroundColor(Qt::transparent);
    m_hint->setOpaque(false);
    m_hint->setNumberOfLines(2);
    root->addSubview(m_hint);
    auto* box = new RoundedRectView(QRectF(20, 58, 280, 140));
    box->setRectColor(Qt::white);
    box->setStrokeColor(QColor(0x8A, 0x96, 0xA6));
    box->setCornerRadius(8);
    root->addSubview(box);
    m_message = new TextView(QRectF(4, 4, 272, 132));
    m_message->setBackgroundColor(Qt::transparent);
    m_message->setFont(Font::systemFontOfSize(17));
    m_message->setTextColor(kSuggestedColour);
    m_message->setDelegate(this);
    box->addSubview(m_message);
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

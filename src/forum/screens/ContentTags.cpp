#include "forum/screens/ContentTags.h"

#include "app/widgets/RoundedRectView.h"
#include "forum/screens/AccessoryBackdrop.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TextView.h"

#include "platform/foundation/Bundle.h"

namespace {

QString text(const char* key)
{
    return Bundle::main().localizedString(QString::fromLatin1(key));
}

}  // namespace

ContentTags::ContentTags()
{
    setTitle(text("tags_title"));
}

ContentTags::~ContentTags() = default;

void ContentTags::buildNib(View* root)
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
    // The text in a white rounded box, as the one-line prompt's field.
    auto* box = new RoundedRectView(QRectF(20, 58, 280, 120));
    box->setRectColor(Qt::white);
    box->setStrokeColor(QColor(0x8A, 0x96, 0xA6));
    box->setCornerRadius(8);
    root->addSubview(box);
    m_tags = new TextView(QRectF(4, 4, 272, 112));
    m_tags->setBackgroundColor(Qt::transparent);
    m_tags->setFont(Font::systemFontOfSize(17));
    box->addSubview(m_tags);
}

void ContentTags::viewDidLoad()
{
    m_hint->setText(text("tags_hint"));
    m_tags->setText(m_pendingText);
    navigationItem()->setRightBarButtonItem(
        BarButtonItem::withTitle(text("done"), BarButtonItemStyle::Done, this, &ContentTags::done));
    m_tags->becomeFirstResponder();
}

void ContentTags::setTagsText(const QString& text)
{
    m_pendingText = text;
    if (m_tags)
        m_tags->setText(text);
}

void ContentTags::done()
{
    const std::shared_ptr<ViewController> guard = weak_from_this().lock();
    WeakRef<NavigationController> navigation(navigationController());
    if (ContentTagsDelegate* d = m_delegate.get())
        d->setTags(m_tags ? m_tags->text() : m_pendingText);
    if (NavigationController* stack = navigation.get())
        stack->popViewController(this, true);
}

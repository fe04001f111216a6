#include "forum/screens/ContentTags.h"

#include "forum/screens/AccessoryBackdrop.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TextView.h"

#include "platform/foundation/Localized.h"

ContentTags::ContentTags()
{
    setTitle(localized("tags_title"));
}

ContentTags::~ContentTags() = default;

void ContentTags::buildNib(View* root)
{
    AccessoryBackdrop::addTo(root);
    m_hint = AccessoryBackdrop::addHint(root, QRectF(20, 12, 280, 40), 15);
    m_tags = AccessoryBackdrop::addTextBox(root, QRectF(20, 58, 280, 120));
}

void ContentTags::viewDidLoad()
{
    m_hint->setText(localized("tags_hint"));
    m_tags->setText(m_pendingText);
    navigationItem()->setRightBarButtonItem(
        BarButtonItem::withTitle(localized("done"), BarButtonItemStyle::Done, this, &ContentTags::done));
}

void ContentTags::viewDidAppear(bool animated)
{
    ViewController::viewDidAppear(animated);
    // Only a text in the window takes the keyboard.
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

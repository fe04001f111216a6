#include "forum/screens/InsertTextController.h"

#include "forum/screens/AccessoryBackdrop.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TextField.h"

#include "platform/foundation/Localized.h"

InsertTextController::InsertTextController() = default;

InsertTextController::~InsertTextController() = default;

void InsertTextController::buildNib(View* root)
{
    AccessoryBackdrop::addTo(root);
    m_label = AccessoryBackdrop::addHint(root, QRectF(20, 16, 280, 48), 17);
    m_input = new TextField(QRectF(20, 70, 280, 31));
    m_input->setBorderStyle(TextBorderStyle::RoundedRect);
    m_input->setClearButtonMode(TextFieldViewMode::WhileEditing);
    m_input->setReturnKeyType(ReturnKeyType::Done);
    m_input->addTarget(this, &InsertTextController::finish, ControlEvent::EditingDidEndOnExit);
    root->addSubview(m_input);
}

void InsertTextController::viewDidLoad()
{
    m_label->setText(m_titleText);
    m_input->setText(m_pendingText);
    // A mouse finishes as the return key does.
    navigationItem()->setRightBarButtonItem(BarButtonItem::withTitle(
        localized("done"), BarButtonItemStyle::Done, this,
        &InsertTextController::finish));
}

void InsertTextController::viewDidAppear(bool)
{
    m_input->becomeFirstResponder();
}

void InsertTextController::setTitleText(const QString& text)
{
    m_titleText = text;
    if (m_label)
        m_label->setText(text);
}

QString InsertTextController::text() const
{
    return m_input ? m_input->text() : m_pendingText;
}

void InsertTextController::setText(const QString& text)
{
    m_pendingText = text;
    if (m_input)
        m_input->setText(text);
}

void InsertTextController::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    const std::shared_ptr<ViewController> guard = weak_from_this().lock();
    // The delegate may rewrite the stack: only this screen is taken off, and
    // only if it is still there.
    WeakRef<NavigationController> navigation(navigationController());
    if (InsertTextDelegate* d = m_delegate.get())
        d->textWasInserted(this);
    if (NavigationController* stack = navigation.get())
        stack->popViewController(this, true);
}

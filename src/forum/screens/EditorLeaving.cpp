#include "forum/screens/EditorLeaving.h"

#include "forum/model/EditorDraft.h"

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TextView.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Localized.h"

EditorLeaving::EditorLeaving(ViewController& screen, EditorDraft& draft)
    : m_screen(screen),
      m_draft(draft)
{
}

EditorLeaving::~EditorLeaving()
{
    if (m_confirmExit)
        m_confirmExit->dismissWithoutButton();
}

void EditorLeaving::build(View* root, TextView* content)
{
    m_content = content;
    m_loading = new ActivityIndicatorView(ActivityIndicatorStyle::WhiteLarge);
    m_loading->setObjectName(QStringLiteral("loading"));
    m_loading->setFrame(QRectF(125, 150, 70, 70));
    m_loading->setBackgroundColor(QColor(0, 0, 0, 150));
    m_loading->setOpaque(false);
    root->addSubview(m_loading);
}

void EditorLeaving::setDiscardButton(std::shared_ptr<BarButtonItem> discard)
{
    m_discard = std::move(discard);
    m_screen.navigationItem()->setLeftBarButtonItem(m_discard);
    m_loading->stopAnimating();
    m_loading->setHidden(true);
}

bool EditorLeaving::rightItemEnabled(bool editing) const
{
    return editing || (m_submitEnabled && !m_draft.isSending());
}

void EditorLeaving::startSending(bool editing)
{
    m_loading->setHidden(false);
    m_screen.view()->bringSubviewToFront(m_loading);
    m_loading->startAnimating();
    // Gone out, the content lands whatever this screen does: it stays until
    // the forum has answered, and says then what became of it; "submit" is
    // off as well, for it has been pressed.
    setSending(true, editing);
}

void EditorLeaving::stopSending(bool editing)
{
    if (!m_loading)
        return;
    setSending(false, editing);
    m_loading->stopAnimating();
    m_loading->setHidden(true);
}

void EditorLeaving::setSending(bool sending, bool editing)
{
    m_draft.setSending(sending);
    if (m_discard)
        m_discard->setEnabled(!sending);
    // The item shown, not a new one: a button the keyboard pressed keeps its place.
    if (const std::shared_ptr<BarButtonItem> right = m_screen.navigationItem()->rightBarButtonItem())
        right->setEnabled(rightItemEnabled(editing));
}

void EditorLeaving::cancel()
{
    if (!m_draft.canDiscard())
        return;
    if (!m_draft.discardingAsks()) {
        popSelf(true);
        return;
    }
    // Asked already and still up: one question is enough. A question taken
    // away without an answer (its window closed) stands in the way no more.
    if (m_confirmExit && m_confirmExit->isVisible())
        return;
    m_confirmExit = AlertView::create(localized("cancel_creating_content"), localized("your_work_will_not"), this,
                                      {localized("cancel"), localized("discard")});
    // Work is lost only by a press of Discard itself, never by a Return.
    m_confirmExit->setDefaultButtonIndex(0);
    m_confirmExit->show();
}

void EditorLeaving::clickedButtonAtIndex(AlertView* alertView, int buttonIndex)
{
    // Only the question this screen asked, and only while it is on its stack.
    if (!m_confirmExit || alertView != m_confirmExit.get())
        return;
    m_confirmExit.reset();
    if (buttonIndex == 1)
        popSelf(true);
}

bool EditorLeaving::isOnStack() const
{
    NavigationController* navigation = m_screen.navigationController();
    if (!navigation)
        return false;
    for (const ViewControllerPtr& screen : navigation->viewControllers()) {
        if (screen.get() == &m_screen)
            return true;
    }
    return false;
}

void EditorLeaving::popSelf(bool animated)
{
    if (m_content && m_content->isFirstResponder())
        m_content->resignFirstResponder();
    if (NavigationController* navigation = m_screen.navigationController())
        navigation->popViewController(&m_screen, animated);
}

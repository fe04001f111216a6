#include "app/screens/RegistrationLeaving.h"

#include "app/widgets/FieldCell.h"

#include "platform/ui/NavigationController.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Localized.h"

#include <QKeyEvent>
#include <QWidget>

RegistrationLeaving::RegistrationLeaving(ViewController& screen, std::function<bool()> holdsEntries)
    : m_screen(screen),
      m_holdsEntries(std::move(holdsEntries))
{
}

RegistrationLeaving::~RegistrationLeaving()
{
    if (m_question)
        m_question->dismissWithoutButton();
}

void RegistrationLeaving::watchEscape(QWidget* window)
{
    if (!window || window == m_window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = window;
    window->installEventFilter(this);
}

bool RegistrationLeaving::eventFilter(QObject* watched, QEvent* event)
{
    // Escape comes up here when neither the focused control nor a panel or
    // an alert over the screen took it.
    if (watched != m_window || event->type() != QEvent::KeyPress
        || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape || !isOnTop())
        return false;
    if (mayLeave())
        leave();
    return true;
}

bool RegistrationLeaving::isOnTop() const
{
    const NavigationController* navigation = m_screen.navigationController();
    return m_screen.isAppeared() && navigation && navigation->visibleViewController() == &m_screen;
}

bool RegistrationLeaving::mayLeave()
{
    if (!m_holdsEntries || !m_holdsEntries())
        return true;
    // Asked already and still up: one question is enough.
    if (isAsking())
        return false;
    m_question = AlertView::create(localized("reg_leave"), localized("reg_leave_message"), this,
                                   {localized("cancel"), localized("discard")});
    // What was entered is lost only by a press of Discard itself, never by a Return.
    m_question->setDefaultButtonIndex(0);
    m_question->show();
    return false;
}

bool RegistrationLeaving::isAsking() const
{
    return m_question && m_question->isVisible();
}

void RegistrationLeaving::clickedButtonAtIndex(AlertView* alertView, int buttonIndex)
{
    if (!m_question || alertView != m_question.get())
        return;
    m_question.reset();
    if (buttonIndex == 1)
        leave();
}

void RegistrationLeaving::leave()
{
    FieldCell::endTextEditing();
    if (NavigationController* navigation = m_screen.navigationController())
        navigation->popViewController(&m_screen, true);
}

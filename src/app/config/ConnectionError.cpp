#include "ConnectionError.h"

#include "platform/foundation/Localized.h"

ConnectionError& ConnectionError::getInstance()
{
    static ConnectionError instance;
    return instance;
}

void ConnectionError::message(const Error& error)
{
    // Nothing to show.
    if (error.domain().isEmpty())
        return;
    // Its alert may have been closed without a button, which tells no one.
    const std::shared_ptr<AlertView> shown = m_shownAlert.lock();
    if (m_lastError.isSet() && m_lastError.domain() == error.domain() && shown && shown->isVisible())
        return;
    m_lastError = error;
    const std::shared_ptr<AlertView> alert =
        AlertView::create(QString(), error.domain(), this, {localized("ok")});
    m_shownAlert = alert;
    alert->show();
}

void ConnectionError::showMessage(const Error& error)
{
    getInstance().message(error);
}

void ConnectionError::didDismissWithButtonIndex(AlertView* alertView, int buttonIndex)
{
    // Whichever alert went, the next failure may be shown again.
    m_lastError = Error();
}

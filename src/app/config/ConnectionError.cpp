#include "ConnectionError.h"

#include "platform/foundation/Bundle.h"

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
    if (m_lastError.isSet() && m_lastError.domain() == error.domain())
        return;
    m_lastError = error;
    AlertView::create(QString(), error.domain(), this, {Bundle::main().localizedString(QStringLiteral("ok"))})->show();
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

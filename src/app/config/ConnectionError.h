#pragma once

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Error.h"

#include <memory>

// Shows failures to the user in an alert, never the same text twice at once.
class ConnectionError : public AlertViewDelegate {
public:
    // The shared presenter; it lives as long as the process.
    static ConnectionError& getInstance();

    // Shows the error's text (its domain) unless that text is on screen already.
    void message(const Error& error);
    // The same on the shared presenter.
    static void showMessage(const Error& error);

    // The error whose alert is on screen; unset when idle.
    const Error& lastError() const { return m_lastError; }

    void didDismissWithButtonIndex(AlertView* alertView, int buttonIndex) override;

private:
    ConnectionError() = default;

    Error m_lastError;
    std::weak_ptr<AlertView> m_shownAlert;
};

#pragma once

#include "platform/foundation/AlertViewDelegate.h"
#include "platform/foundation/Trackable.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class AlertView;

// A modal message with buttons. The model layer only keeps the list of alerts
// on screen; the widget layer installs a presenter that displays them.
class AlertView : public virtual Trackable, public std::enable_shared_from_this<AlertView> {
public:
    static std::shared_ptr<AlertView> create(const QString& title, const QString& message,
                                             AlertViewDelegate* delegate, const QStringList& buttonTitles);

    // Puts the alert on screen; the visible list keeps it alive until dismissed.
    void show();
    // Removes the alert from the screen and tells the delegate, if it is still
    // there, clickedButtonAtIndex then didDismissWithButtonIndex.
    void dismissWithClickedButtonIndex(int buttonIndex);

    const QString& title() const { return m_title; }
    const QString& message() const { return m_message; }
    const QStringList& buttonTitles() const { return m_buttonTitles; }
    AlertViewDelegate* delegate() const { return m_delegate.get(); }
    bool isVisible() const;

    static QList<std::shared_ptr<AlertView>> visibleAlerts();
    static bool isAnyAlertShown();
    // Alerts shown since the process started (tests).
    static int shownCount();
    // Called by show() with the alert to display (the widget layer).
    static void setPresenter(std::function<void(const std::shared_ptr<AlertView>&)> presenter);

protected:
    AlertView(const QString& title, const QString& message, AlertViewDelegate* delegate,
              const QStringList& buttonTitles);

private:
    QString m_title;
    QString m_message;
    WeakRef<AlertViewDelegate> m_delegate;
    QStringList m_buttonTitles;
};

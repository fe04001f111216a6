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
    // Removes the alert without any button (its window was closed): the
    // delegate hears of no index.
    void dismissWithoutButton();

    const QString& title() const { return m_title; }
    const QString& message() const { return m_message; }
    const QStringList& buttonTitles() const { return m_buttonTitles; }
    // The button that answers no, which Escape presses: with several buttons
    // the first (index 0) unless the alert names another, a single button is
    // its own; an alert without buttons has none (-1).
    int cancelButtonIndex() const;
    // Names another button the cancel button; an index no button has is ignored.
    void setCancelButtonIndex(int index);
    // The button Return presses: the last one (the one that goes on) unless
    // the alert names another, as a question that loses work names its
    // cancel button; -1 without buttons.
    int defaultButtonIndex() const;
    void setDefaultButtonIndex(int index);
    AlertViewDelegate* delegate() const { return m_delegate.get(); }
    bool isVisible() const;

    // An alert may hold one line of text input (a password prompt); the
    // presenter shows the field and keeps its text here.
    void addTextField(const QString& placeholder, bool secure);
    bool hasTextField() const { return m_hasTextField; }
    const QString& textFieldPlaceholder() const { return m_placeholder; }
    bool isTextFieldSecure() const { return m_secure; }
    const QString& textFieldText() const { return m_text; }
    void setTextFieldText(const QString& text) { m_text = text; }

    static QList<std::shared_ptr<AlertView>> visibleAlerts();
    static bool isAnyAlertShown();
    // Alerts shown since the process started (tests).
    static int shownCount();
    // Called by show() with the alert to display (the widget layer).
    static void setPresenter(std::function<void(const std::shared_ptr<AlertView>&)> presenter);
    // Called whenever an alert leaves the screen, before its delegate is told
    // (the widget layer takes its picture down).
    static void setDismissHandler(std::function<void(const std::shared_ptr<AlertView>&)> handler);

protected:
    AlertView(const QString& title, const QString& message, AlertViewDelegate* delegate,
              const QStringList& buttonTitles);

private:
    QString m_title;
    QString m_message;
    WeakRef<AlertViewDelegate> m_delegate;
    QStringList m_buttonTitles;
    int m_cancelButtonIndex = 0;
    int m_defaultButtonIndex = -1;
    QString m_placeholder;
    QString m_text;
    bool m_hasTextField = false;
    bool m_secure = false;
};

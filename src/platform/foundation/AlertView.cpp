#include "AlertView.h"

namespace {

struct AlertRegistry {
    QList<std::shared_ptr<AlertView>> visible;
    int shown = 0;
    std::function<void(const std::shared_ptr<AlertView>&)> presenter;
    std::function<void(const std::shared_ptr<AlertView>&)> dismissed;
};


AlertRegistry& registry()
{
    static AlertRegistry instance;
    return instance;
}

void tellDismissed(const std::shared_ptr<AlertView>& alert)
{
    const auto handler = registry().dismissed;
    if (handler)
        handler(alert);
}

// The constructor is protected so alerts are always shared (show() needs
// shared_from_this); this lets std::make_shared reach it.
struct ConstructibleAlertView : AlertView {
    ConstructibleAlertView(const QString& title, const QString& message, AlertViewDelegate* delegate,
                           const QStringList& buttonTitles)
        : AlertView(title, message, delegate, buttonTitles)
    {
    }
};
}  // namespace

AlertView::AlertView(const QString& title, const QString& message, AlertViewDelegate* delegate,
                     const QStringList& buttonTitles)
    : m_title(title), m_message(message), m_delegate(delegate), m_buttonTitles(buttonTitles)
{
}

std::shared_ptr<AlertView> AlertView::create(const QString& title, const QString& message,
                                             AlertViewDelegate* delegate, const QStringList& buttonTitles)
{
    return std::make_shared<ConstructibleAlertView>(title, message, delegate, buttonTitles);
}

void AlertView::show()
{
    if (isVisible())
        return;
    std::shared_ptr<AlertView> self = shared_from_this();
    AlertRegistry& r = registry();
    r.visible.append(self);
    ++r.shown;
    // A copy: the presenter may replace itself while displaying.
    const auto presenter = r.presenter;
    if (presenter)
        presenter(self);
}

void AlertView::dismissWithClickedButtonIndex(int buttonIndex)
{
    // Keeps the alert alive while its delegate is told, even after it left the list.
    std::shared_ptr<AlertView> self = shared_from_this();
    if (registry().visible.removeAll(self) > 0)
        tellDismissed(self);
    if (AlertViewDelegate* d = m_delegate.get())
        d->clickedButtonAtIndex(this, buttonIndex);
    // The first call may have destroyed the delegate.
    if (AlertViewDelegate* d = m_delegate.get())
        d->didDismissWithButtonIndex(this, buttonIndex);
}

void AlertView::dismissWithoutButton()
{
    std::shared_ptr<AlertView> self = shared_from_this();
    if (registry().visible.removeAll(self) > 0)
        tellDismissed(self);
}

int AlertView::cancelButtonIndex() const
{
    return m_buttonTitles.isEmpty() ? -1 : m_cancelButtonIndex;
}

void AlertView::setCancelButtonIndex(int index)
{
    if (index >= 0 && index < m_buttonTitles.size())
        m_cancelButtonIndex = index;
}

int AlertView::defaultButtonIndex() const
{
    if (m_buttonTitles.isEmpty())
        return -1;
    return m_defaultButtonIndex >= 0 ? m_defaultButtonIndex : int(m_buttonTitles.size()) - 1;
}

void AlertView::setDefaultButtonIndex(int index)
{
    if (index >= 0 && index < m_buttonTitles.size())
        m_defaultButtonIndex = index;
}

void AlertView::addTextField(const QString& placeholder, bool secure)
{
    m_hasTextField = true;
    m_placeholder = placeholder;
    m_secure = secure;
}

bool AlertView::isVisible() const
{
    for (const std::shared_ptr<AlertView>& alert : registry().visible) {
        if (alert.get() == this)
            return true;
    }
    return false;
}

QList<std::shared_ptr<AlertView>> AlertView::visibleAlerts()
{
    return registry().visible;
}

bool AlertView::isAnyAlertShown()
{
    return !registry().visible.isEmpty();
}

int AlertView::shownCount()
{
    return registry().shown;
}

void AlertView::setDismissHandler(std::function<void(const std::shared_ptr<AlertView>&)> handler)
{
    registry().dismissed = std::move(handler);
}

void AlertView::setPresenter(std::function<void(const std::shared_ptr<AlertView>&)> presenter)
{
    registry().presenter = std::move(presenter);
}

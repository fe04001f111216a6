#include "neighbours/screens/StandInSectionController.h"

#include "neighbours/screens/EmptyStateView.h"

#include "platform/ui/View.h"

#include "platform/foundation/Localized.h"

StandInSectionController::StandInSectionController(AppContext& context, const QString& titleKey,
                                                   const QString& headlineKey, const QString& messageKey)
    : MurmoraViewController(context), m_headlineKey(headlineKey), m_messageKey(messageKey)
{
    setTitle(localized(titleKey));
}

void StandInSectionController::buildNib(View* root)
{
    m_emptyState = new EmptyStateView(root->bounds());
    root->addSubview(m_emptyState);
}

void StandInSectionController::viewDidLoad()
{
    MurmoraViewController::viewDidLoad();
    showEmptyState(m_headlineKey, m_messageKey);
    requestFooterBanner();
}

void StandInSectionController::showEmptyState(const QString& headlineKey, const QString& messageKey)
{
    if (!m_emptyState)
        return;
    m_emptyState->show(localized(headlineKey), localized(messageKey));
}

#include "neighbours/screens/StandInSectionController.h"

#include "neighbours/screens/EmptyStateView.h"

#include "platform/ui/View.h"

#include "platform/foundation/Bundle.h"

StandInSectionController::StandInSectionController(const QString& titleKey, const QString& headlineKey,
                                                   const QString& messageKey)
    : m_headlineKey(headlineKey), m_messageKey(messageKey)
{
    setTitle(Bundle::main().localizedString(titleKey));
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
    const Bundle& bundle = Bundle::main();
    m_emptyState->show(bundle.localizedString(headlineKey), bundle.localizedString(messageKey));
}

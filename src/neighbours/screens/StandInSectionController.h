#pragma once

#include "app/screens/MurmoraViewController.h"

#include <QString>

class AppContext;
class EmptyStateView;

// A screen of the members', messages', photos' or blogs' part of the forum
// that this application does not show: it carries its title (on the menu
// button when it is the first screen of its stack) and says, where its list
// would be, that the list is not shown here and where to go instead.
class StandInSectionController : public MurmoraViewController {
public:
    // Localisation keys of the title and of the empty state's two texts.
    StandInSectionController(AppContext& context, const QString& titleKey, const QString& headlineKey,
                             const QString& messageKey);

    QString getBarTitle() const override { return title(); }
    void buildNib(View* root) override;
    void viewDidLoad() override;

    EmptyStateView* emptyState() const { return m_emptyState; }
    QString headlineKey() const { return m_headlineKey; }
    QString messageKey() const { return m_messageKey; }

protected:
    // Shows the empty state with the texts of two other keys.
    void showEmptyState(const QString& headlineKey, const QString& messageKey);

private:
    QString m_headlineKey;
    QString m_messageKey;
    EmptyStateView* m_emptyState = nullptr;
};

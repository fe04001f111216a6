#pragma once

#include "app/screens/MurmoraViewController.h"

class AppContext;
class EmptyStateView;
class GradientButton;

// The signed-in member's own profile section: as its view loads it puts the
// member's profile screen (MyProfile, on its first section) above itself, at
// once. Coming back to it shows whose section this is, and a button that
// opens the profile again.
class ProfileController : public MurmoraViewController {
public:
    explicit ProfileController(AppContext& context);

    QString getBarTitle() const override { return title(); }
    void buildNib(View* root) override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    // Pushes a profile screen of the current user.
    void showProfile(bool animated);
    void openProfile() { showProfile(true); }

    EmptyStateView* emptyState() const { return m_emptyState; }
    GradientButton* openButton() const { return m_openButton; }

private:
    EmptyStateView* m_emptyState = nullptr;
    GradientButton* m_openButton = nullptr;
};

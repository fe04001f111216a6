#pragma once

#include "app/screens/UIViewControllerCommon.h"

class Label;

// A plain home screen that names who is signed in, until the forum's own home
// screen takes its place under the same class name ("HomeController").
class HomeController : public UIViewControllerCommon {
public:
    HomeController();

    void buildNib(View* root) override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    Label* memberLabel() const { return m_memberLabel; }
    Label* forumLabel() const { return m_forumLabel; }

private:
    Label* m_memberLabel = nullptr;
    Label* m_forumLabel = nullptr;
};

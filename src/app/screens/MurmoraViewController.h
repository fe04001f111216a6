#pragma once

#include "app/screens/UIViewControllerCommon.h"

#include <QPointer>
#include <QString>

#include <memory>

class AppContext;
class Button;
class GlobalNavigationViewController;

// The base of the section screens (home, forums, search...): the first
// screen of its stack, or the home screen, carries the menu button in the
// navigation bar, titled with the section's name; the button shows while
// its screen is on top and opens the global menu over the whole window.
class MurmoraViewController : public UIViewControllerCommon {
public:
    static constexpr qreal kButtonFontSize = 13;
    static inline const QPointF kButtonCenter = QPointF(160, 22);

    // The section of the context's session; the context outlives it.
    explicit MurmoraViewController(AppContext& context);
    ~MurmoraViewController() override;

    void viewDidLoad() override;
    // Makes the menu button once, for the first screen of a stack or the
    // home screen, and shows it in this screen's bar.
    void createTopButton();
    // The button's title: the section's name.
    virtual QString getBarTitle() const;
    // Opens a new menu over the window and ends any editing.
    void showGlobalNavigationView();
    // Pushes a screen onto the application's stack, animated.
    void pushController(const ViewControllerPtr& controller);

    GlobalNavigationViewController* globalNavigationView() const { return m_globalNavigationView.get(); }
    Button* navButton() const;

protected:
    // The context the screen was made on, which outlives it.
    AppContext& context() const { return m_context; }

private:
    AppContext& m_context;
    std::shared_ptr<GlobalNavigationViewController> m_globalNavigationView;
    QPointer<Button> m_navButton;
};

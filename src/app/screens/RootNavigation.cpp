#include "app/screens/RootNavigation.h"

#include "app/config/Customizer.h"

#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"

void RootNavigation::setController(const ViewControllerPtr& screen)
{
    if (!screen)
        return;
    // A copy: the handler may replace itself.
    if (const Handler own = m_handler) {
        own(screen);
        return;
    }
    Window* window = Window::keyWindow();
    if (!window)
        return;
    const std::shared_ptr<NavigationController> navigation = NavigationController::create(screen);
    navigation->navigationBar()->setTintColor(Customizer::getInstance().colorForKey(kColorBackgroundButton));
    window->setRootViewController(navigation);
}

NavigationController* RootNavigation::controller()
{
    Window* window = Window::keyWindow();
    return window ? dynamic_cast<NavigationController*>(window->rootViewController().get()) : nullptr;
}

void RootNavigation::setHandler(Handler handler)
{
    m_handler = std::move(handler);
}

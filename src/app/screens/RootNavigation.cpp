#include "app/screens/RootNavigation.h"

#include "app/config/Customizer.h"

#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"

namespace {

RootNavigation::Handler& handler()
{
    static RootNavigation::Handler installed;
    return installed;
}

}  // namespace

void RootNavigation::setController(const ViewControllerPtr& screen)
{
    if (!screen)
        return;
    if (const Handler own = handler()) {
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
    ::handler() = std::move(handler);
}

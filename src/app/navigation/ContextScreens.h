#pragma once

#include "app/session/AppContext.h"

#include "platform/ui/ViewControllerRegistry.h"

#include <QString>

#include <memory>
#include <type_traits>

// Screens by class name that are made on the application context they were
// registered with: each library's register function takes the context from
// the wiring (or a test's fixture) and hands it to every screen made by name
// until the next context registers its own. Nothing makes a screen by name
// once its context is gone.
class ContextScreens {
public:
    template <typename Screen>
    static void registerClass(AppContext& context, const QString& className)
    {
        if constexpr (std::is_constructible_v<Screen, AppContext&>) {
            ViewControllerRegistry::registerClass(
                className, [&context]() -> ViewControllerPtr { return std::make_shared<Screen>(context); });
        } else {
            ViewControllerRegistry::registerClass<Screen>(className);
        }
    }
};

#pragma once

#include "platform/ui/ViewController.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// Screens by class name, as the platform makes a screen from the interface
// file named after its class. Each library registers its screens once (its
// own register function, called by main), so a screen reaches another one by
// name without including it.
class ViewControllerRegistry {
public:
    using Factory = std::function<ViewControllerPtr()>;

    static void registerClass(const QString& className, Factory factory);
    template <typename T>
    static void registerClass(const QString& className)
    {
        registerClass(className, []() -> ViewControllerPtr { return std::make_shared<T>(); });
    }
    // Forgets the class (tests that register a stand-in for a while).
    static void unregisterClass(const QString& className);
    static bool isRegistered(const QString& className);
    // A new screen of the class, or null when no class has the name.
    static ViewControllerPtr create(const QString& className);
    static QStringList registeredClasses();
};

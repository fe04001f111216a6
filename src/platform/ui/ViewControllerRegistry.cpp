#include "platform/ui/ViewControllerRegistry.h"

#include <QHash>

namespace {
QHash<QString, ViewControllerRegistry::Factory>& factories()
{
    static QHash<QString, ViewControllerRegistry::Factory> table;
    return table;
}
}  // namespace

void ViewControllerRegistry::registerClass(const QString& className, Factory factory)
{
    factories().insert(className, std::move(factory));
}

void ViewControllerRegistry::unregisterClass(const QString& className)
{
    factories().remove(className);
}

bool ViewControllerRegistry::isRegistered(const QString& className)
{
    return factories().contains(className);
}

ViewControllerPtr ViewControllerRegistry::create(const QString& className)
{
    const auto it = factories().constFind(className);
    return it == factories().constEnd() ? nullptr : (*it)();
}

QStringList ViewControllerRegistry::registeredClasses()
{
    QStringList names = factories().keys();
    names.sort();
    return names;
}

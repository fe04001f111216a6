#include "platform/ui/ViewRegistry.h"

#include "platform/ui/View.h"

#include <QHash>

namespace {
QHash<QString, ViewRegistry::Factory>& factories()
{
    static QHash<QString, ViewRegistry::Factory> table;
    return table;
}
}  // namespace

void ViewRegistry::registerClass(const QString& className, Factory factory)
{
    factories().insert(className, std::move(factory));
}

bool ViewRegistry::isRegistered(const QString& className)
{
    return factories().contains(className);
}

View* ViewRegistry::create(const QString& className)
{
    const auto it = factories().constFind(className);
    return it == factories().constEnd() ? nullptr : (*it)();
}

#include "forum/screens/ScreenInputs.h"

#include "platform/ui/ViewControllerRegistry.h"

#include <QHash>

namespace {

QHash<QString, ScreenInputs::Setter>& setters()
{
    static QHash<QString, ScreenInputs::Setter> table;
    return table;
}

}  // namespace

void ScreenInputs::registerSetter(const QString& className, Setter setter)
{
    if (setter)
        setters().insert(className, std::move(setter));
    else
        setters().remove(className);
}

void ScreenInputs::unregisterSetter(const QString& className)
{
    setters().remove(className);
}

bool ScreenInputs::canCreate(const QString& className)
{
    return setters().contains(className) && ViewControllerRegistry::isRegistered(className);
}

ViewControllerPtr ScreenInputs::create(const QString& className, const ModelPtr& input)
{
    if (!input || !canCreate(className))
        return nullptr;
    // A copy: the setter may register others while it runs.
    const Setter setter = setters().value(className);
    const ViewControllerPtr screen = ViewControllerRegistry::create(className);
    if (!screen || !setter(*screen, input))
        return nullptr;
    return screen;
}

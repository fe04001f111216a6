#include "app/navigation/ScreenInputs.h"

#include "platform/ui/ViewControllerRegistry.h"

#include <QHash>

namespace {

QHash<QString, ScreenInputs::Setter>& setters()
{
    static QHash<QString, ScreenInputs::Setter> table;
    return table;
}

// By class name, then option.
QHash<QString, QHash<QString, ScreenInputs::OptionSetter>>& options()
{
    static QHash<QString, QHash<QString, ScreenInputs::OptionSetter>> table;
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

void ScreenInputs::registerOption(const QString& className, const QString& option, OptionSetter setter)
{
    if (setter)
        options()[className].insert(option, std::move(setter));
    else
        unregisterOption(className, option);
}

void ScreenInputs::unregisterOption(const QString& className, const QString& option)
{
    const auto found = options().find(className);
    if (found == options().end())
        return;
    found->remove(option);
    if (found->isEmpty())
        options().erase(found);
}

bool ScreenInputs::canCreate(const QString& className)
{
    return setters().contains(className) && ViewControllerRegistry::isRegistered(className);
}

ViewControllerPtr ScreenInputs::create(const QString& className, const ModelPtr& input)
{
    if (!input || !canCreate(className))
        return nullptr;
    const ViewControllerPtr screen = ViewControllerRegistry::create(className);
    if (!screen || !give(*screen, className, input))
        return nullptr;
    return screen;
}

bool ScreenInputs::give(ViewController& screen, const QString& className, const ModelPtr& input)
{
    // A copy: the setter may register others while it runs.
    const Setter setter = setters().value(className);
    return input && setter && setter(screen, input);
}

bool ScreenInputs::setOption(ViewController& screen, const QString& className, const QString& option,
                             const Value& value)
{
    const OptionSetter setter = options().value(className).value(option);
    return setter && setter(screen, value);
}

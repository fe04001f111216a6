#pragma once

#include "app/model/Model.h"

#include "platform/ui/ViewController.h"

#include "platform/foundation/Value.h"

#include <QString>

#include <functional>
#include <memory>

// What a screen of another library shows, given through the setter the
// screen names (the thread page's setThread, an article screen's
// setArticle...), and the options it is opened with (the section a profile
// opens on). Screens reach each other by class name alone; whoever links
// both libraries registers the setter of each such screen here, so that a
// screen can be opened with its model.
class ScreenInputs {
public:
    // Gives the screen its input; false when it cannot take that kind of model.
    using Setter = std::function<bool(ViewController& screen, const ModelPtr& input)>;
    // Sets an option of the screen; false when it cannot take the value.
    using OptionSetter = std::function<bool(ViewController& screen, const Value& value)>;

    static void registerSetter(const QString& className, Setter setter);
    // The screen's own setter, such as &PostController::setThread: it is
    // called when the screen and the model are of its classes.
    template <typename Screen, typename M>
    static void registerSetter(const QString& className, void (Screen::*set)(const std::shared_ptr<M>&))
    {
        registerSetter(className, [set](ViewController& screen, const ModelPtr& input) {
            auto* target = dynamic_cast<Screen*>(&screen);
            auto model = std::dynamic_pointer_cast<M>(input);
            if (!target || !model)
                return false;
            (target->*set)(model);
            return true;
        });
    }
    static void unregisterSetter(const QString& className);

    static void registerOption(const QString& className, const QString& option, OptionSetter setter);
    static void unregisterOption(const QString& className, const QString& option);

    // Whether a screen of the class can be made and given an input.
    static bool canCreate(const QString& className);
    // A new screen of the class that has taken the input; null when there is
    // no such screen, no setter for it, or the setter refuses the model.
    static ViewControllerPtr create(const QString& className, const ModelPtr& input);
    // Gives a screen of the class, made already, its input; false when there
    // is no setter for the class or it refuses the model.
    static bool give(ViewController& screen, const QString& className, const ModelPtr& input);
    // Sets an option of a screen of the class; false when the class has no
    // such option or refuses the value.
    static bool setOption(ViewController& screen, const QString& className, const QString& option,
                          const Value& value);
};

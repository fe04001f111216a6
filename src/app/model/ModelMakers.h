#pragma once

#include "app/model/Model.h"

#include "platform/foundation/Value.h"

#include <QString>

#include <functional>

// Models of the libraries above this one, made by class name from a few
// named values (a thread from its "threadid", a blog entry list from its
// "tag"...), as the link router needs them. Whoever links such a library
// registers its makers here; a maker answers null for values it cannot make
// a model of.
class ModelMakers {
public:
    using Maker = std::function<ModelPtr(const ValueDict& values)>;

    // A later maker of the same name replaces the former; an empty one removes it.
    static void registerMaker(const QString& className, Maker maker);
    static void unregisterMaker(const QString& className);
    static bool isRegistered(const QString& className);
    // A new model of the class, or null when no maker has the name or it refuses.
    static ModelPtr make(const QString& className, const ValueDict& values);
};

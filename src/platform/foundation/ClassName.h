#pragma once

#include <QString>

#include <typeinfo>

namespace ClassNameDetail {
// A mangled type name as it is written in the source, with its namespaces
// and template arguments.
QString fullName(const char* mangled);
// The plain class name of a mangled type name: no namespaces, no template
// arguments ("Friend" for "ns::Friend<int>").
QString plainName(const char* mangled);
}  // namespace ClassNameDetail

// The name of the object's dynamic class, e.g. "Friend" for a Friend seen
// through a Model reference.
template <typename T>
QString className(const T& object)
{
    return ClassNameDetail::plainName(typeid(object).name());
}

#pragma once

#include <QString>

#include <functional>

class View;

// Views and cells by class name: the stand-in for an interface file holding
// one view (a cell, a header), whose layout code is the class's own.
class ViewRegistry {
public:
    using Factory = std::function<View*()>;

    static void registerClass(const QString& className, Factory factory);
    template <typename T>
    static void registerClass(const QString& className)
    {
        registerClass(className, []() -> View* { return new T(); });
    }
    static bool isRegistered(const QString& className);
    // A new view of the class (the caller adds it somewhere), or null.
    static View* create(const QString& className);
};

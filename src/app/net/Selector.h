#pragma once

#include "platform/foundation/Trackable.h"

#include <QString>

#include <functional>
#include <memory>

class HTTPRequest;

// A named operation of a callback object that takes the finished request:
// the "target + selector" of a request's callback. Performing it on an object
// of another class does nothing.
class Selector {
public:
    Selector() = default;

    template <typename T>
    Selector(const char* name, void (T::*method)(const std::shared_ptr<HTTPRequest>&))
        : m_name(QString::fromLatin1(name)),
          m_call([method](Trackable* target, const std::shared_ptr<HTTPRequest>& request) {
              if (T* object = dynamic_cast<T*>(target))
                  (object->*method)(request);
          })
    {
    }

    bool isSet() const { return static_cast<bool>(m_call); }
    const QString& name() const { return m_name; }

    void perform(Trackable* target, const std::shared_ptr<HTTPRequest>& request) const
    {
        if (m_call && target)
            m_call(target, request);
    }

    bool operator==(const Selector& other) const { return m_name == other.m_name; }

private:
    QString m_name;
    std::function<void(Trackable*, const std::shared_ptr<HTTPRequest>&)> m_call;
};

// SELECTOR(Model, setFromRequest) names Model::setFromRequest as "setFromRequest:".
#define SELECTOR(Class, method) Selector(#method ":", &Class::method)

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

    // An operation of a helper that the selector itself keeps alive, for
    // calls nobody else holds on to (moderation, a copy running thread after
    // thread): the helper lives as long as a request holds the selector, that
    // is until the request has called back or is dropped without calling.
    // The request's callback object must be the helper.
    template <typename T>
    static Selector owning(const char* name, std::shared_ptr<T> helper,
                           void (T::*method)(const std::shared_ptr<HTTPRequest>&))
    {
        Selector selector;
        selector.m_name = QString::fromLatin1(name);
        selector.m_call = [helper = std::move(helper), method](Trackable*, const std::shared_ptr<HTTPRequest>& request) {
            (helper.get()->*method)(request);
        };
        return selector;
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

#pragma once

#include "platform/foundation/Trackable.h"

#include <QString>

#include <functional>
#include <memory>

class HTTPRequest;

// A named operation of a callback object that takes the request and the share
// of the body sent so far (0 to 1).
class ProgressSelector {
public:
    ProgressSelector() = default;

    template <typename T>
    ProgressSelector(const char* name, void (T::*method)(const std::shared_ptr<HTTPRequest>&, float))
        : m_name(QString::fromLatin1(name)),
          m_call([method](Trackable* target, const std::shared_ptr<HTTPRequest>& request, float progress) {
              if (T* object = dynamic_cast<T*>(target))
                  (object->*method)(request, progress);
          })
    {
    }

    bool isSet() const { return static_cast<bool>(m_call); }
    const QString& name() const { return m_name; }

    void perform(Trackable* target, const std::shared_ptr<HTTPRequest>& request, float progress) const
    {
        if (m_call && target)
            m_call(target, request, progress);
    }

private:
    QString m_name;
    std::function<void(Trackable*, const std::shared_ptr<HTTPRequest>&, float)> m_call;
};

#pragma once

#include "app/model/ModelObserver.h"
#include "platform/foundation/Error.h"

#include <QStringList>

#include <functional>

// Counts what a model tells it. By default it takes failures itself (their
// texts are kept); one made with TakesFailures::No leaves them to the
// connection-error presenter. An optional action runs inside each change.
class RecordingObserver : public ModelObserver {
public:
    enum class TakesFailures { Yes, No };

    explicit RecordingObserver(TakesFailures takes = TakesFailures::Yes) : m_takes(takes) {}

    void modelHasChanged(Model* model) override
    {
        ++changes;
        if (onChange)
            onChange(model);
    }
    bool modelHasFailedToUpdate(Model*, const Error& error) override
    {
        if (m_takes == TakesFailures::No)
            return false;
        failures.append(error.domain());
        errors.append(error);
        return true;
    }

    bool heardAnything() const { return changes > 0 || !failures.isEmpty(); }

    int changes = 0;
    QStringList failures;
    QList<Error> errors;
    std::function<void(Model*)> onChange;

private:
    TakesFailures m_takes;
};

#pragma once

#include "app/model/Model.h"

#include "platform/foundation/Observation.h"

#include <functional>
#include <memory>

// Observes one model for an owner whose own observer methods are taken (a
// screen whose subclasses watch their builders through them): each change of
// the model calls back. Stops watching when it goes or watches another.
class ModelWatch : public ModelObserver {
public:
    ModelWatch() = default;
    ~ModelWatch() override = default;
    ModelWatch(const ModelWatch&) = delete;
    ModelWatch& operator=(const ModelWatch&) = delete;

    void watch(const std::shared_ptr<Model>& model, std::function<void()> changed)
    {
        m_model = model;
        m_changed = std::move(changed);
        m_observation.observe(model, this);
    }
    void stop()
    {
        m_observation.reset();
        m_model.reset();
        m_changed = nullptr;
    }

    void modelHasChanged(Model* model) override
    {
        // A copy: the call may end this watch.
        if (const std::function<void()> changed = m_changed; changed && model && model == m_model.lock().get())
            changed();
    }
    // Failures are the model's to keep: nobody hears of them.
    bool modelHasFailedToUpdate(Model* model, const Error&) override { return model == m_model.lock().get(); }

private:
    std::weak_ptr<Model> m_model;
    std::function<void()> m_changed;
    Observation m_observation;
};

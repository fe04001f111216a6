#include "AppTest.h"

#include "ModelTestSupport.h"

#include "app/model/ModelCollection.h"
#include "platform/foundation/Observation.h"

#include <memory>
#include <optional>

using ObservationTest = AppTest;

namespace {

// An observer that holds its observation as the screens do: as a member,
// after the model it keeps.
class Watcher : public RecordingObserver {
public:
    void watch(const std::shared_ptr<SampleModel>& model)
    {
        kept = model;
        observation.observe(kept, this);
    }

    std::shared_ptr<SampleModel> kept;
    Observation observation;
};

// What the model still holds, the gone included: an observer that went
// without being removed stays here as a dead entry.
qsizetype entries(const Model& model)
{
    return model.observers().snapshot().size();
}

class CollectionWatcher : public ModelCollectionObserver {
public:
    void modelCollectionHasChanged(ModelCollection*) override
    {
        ++changes;
        if (endAtOnce)
            observation.reset();
    }
    bool endAtOnce = false;
    int changes = 0;
    Observation observation;
};

}  // namespace

TEST_F(ObservationTest, AnObservationEndsWithItsOwnerOrWhenMovedOnAndNeverOutlivesIt)
{
    const auto first = Model::create<SampleModel>();
    const auto second = Model::create<SampleModel>();
    {
        Watcher watcher;
        watcher.watch(first);
        EXPECT_TRUE(watcher.observation.isObserving());
        first->notifyChanged();
        EXPECT_EQ(watcher.changes, 1);

        // Moved on: the former model is let go, the new one is heard.
        watcher.watch(second);
        EXPECT_EQ(entries(*first), 0);
        first->notifyChanged();
        second->notifyChanged();
        EXPECT_EQ(watcher.changes, 2);

        // The same model again stays observed.
        watcher.watch(second);
        EXPECT_EQ(entries(*second), 1);
        second->notifyChanged();
        EXPECT_EQ(watcher.changes, 3);

        // Reset: nothing heard any more, and resetting again does nothing.
        watcher.observation.reset();
        watcher.observation.reset();
        EXPECT_FALSE(watcher.observation.isObserving());
        EXPECT_EQ(entries(*second), 0);
        second->notifyChanged();
        EXPECT_EQ(watcher.changes, 3);

        watcher.watch(first);
    }
    // Its owner gone, the model holds no entry for it, not even a dead one.
    EXPECT_EQ(entries(*first), 0);

    // A moved observation is ended once, by whoever holds it last.
    Watcher watcher;
    watcher.watch(first);
    std::optional<Observation> holder(std::move(watcher.observation));
    EXPECT_FALSE(watcher.observation.isObserving());
    watcher.observation.reset();
    EXPECT_EQ(entries(*first), 1);
    Observation last;
    last = std::move(*holder);
    holder.reset();
    EXPECT_EQ(entries(*first), 1);
    first->notifyChanged();
    EXPECT_EQ(watcher.changes, 1);
    last = Observation();
    EXPECT_EQ(entries(*first), 0);

    // A model that went first is not reached when the observation ends.
    {
        Watcher late;
        late.watch(Model::create<SampleModel>());
        const std::weak_ptr<SampleModel> model = late.kept;
        late.kept.reset();
        EXPECT_TRUE(model.expired());
        EXPECT_TRUE(late.observation.isObserving());
    }

    // A collection tells a new observer at once; an observer that ends its
    // observation right then is not kept.
    const auto collection = std::make_shared<ModelCollection>();
    CollectionWatcher quitting;
    quitting.endAtOnce = true;
    quitting.observation.observe(collection, &quitting);
    EXPECT_EQ(quitting.changes, 1);
    EXPECT_FALSE(quitting.observation.isObserving());
    collection->setModels({});
    EXPECT_EQ(quitting.changes, 1);
}

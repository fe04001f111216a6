#include "AppTest.h"

#include "ModelTestSupport.h"

#include <memory>

using ModelObserverTest = AppTest;

TEST_F(ModelObserverTest, ObserversMayChangeTheSetWhileBeingTold)
{
    auto model = Model::create<SampleModel>();
    RecordingObserver selfRemoving;
    RecordingObserver removed;
    RecordingObserver remover;
    RecordingObserver added;
    selfRemoving.onChange = [&](Model* m) { m->removeObserver(&selfRemoving); };
    remover.onChange = [&](Model* m) {
        m->removeObserver(&removed);
        m->addObserver(&added);
    };
    model->addObserver(&selfRemoving);
    model->addObserver(&remover);
    model->addObserver(&removed);

    model->notifyChanged();
    EXPECT_EQ(selfRemoving.changes, 1);
    EXPECT_EQ(remover.changes, 1);
    EXPECT_EQ(removed.changes, 0);
    EXPECT_EQ(added.changes, 0);  // joined after the round began

    model->notifyChanged();
    EXPECT_EQ(selfRemoving.changes, 1);
    EXPECT_EQ(remover.changes, 2);
    EXPECT_EQ(removed.changes, 0);
    EXPECT_EQ(added.changes, 1);

    model->removeAllObservers();
    model->notifyChanged();
    EXPECT_EQ(remover.changes, 2);
}

TEST_F(ModelObserverTest, GoneObserversAreNotToldAndNotKeptAlive)
{
    auto model = Model::create<SampleModel>();
    auto gone = std::make_shared<RecordingObserver>();
    std::weak_ptr<RecordingObserver> watch = gone;
    RecordingObserver staying;
    model->addObserver(gone.get());
    model->addObserver(&staying);
    gone.reset();
    EXPECT_TRUE(watch.expired());

    model->notifyChanged();
    model->failedWithError(Error::withMessage(QStringLiteral("x")));
    EXPECT_EQ(staying.changes, 1);
    EXPECT_EQ(staying.failures.size(), 1);
    EXPECT_EQ(model->observers().count(), 1);
}

TEST_F(ModelObserverTest, AnObserverMayReleaseTheModelWhileBeingTold)
{
    auto model = Model::create<SampleModel>();
    std::weak_ptr<SampleModel> watch = model;
    RecordingObserver first;
    RecordingObserver second;
    first.onChange = [&](Model*) { model.reset(); };
    watch.lock()->addObserver(&first);
    watch.lock()->addObserver(&second);

    watch.lock()->setDictionary(json(R"({"count": 1})"));
    EXPECT_EQ(second.changes, 1);
    EXPECT_TRUE(watch.expired());
}

namespace {

class CancelCountingRequest : public HTTPRequest {
public:
    void cancel() override { ++cancels; }
    int cancels = 0;
};

}  // namespace

TEST_F(ModelObserverTest, RequestsInFlightAreCancelledWhenTheModelGoes)
{
    auto pending = std::make_shared<CancelCountingRequest>();
    auto answered = std::make_shared<CancelCountingRequest>();
    {
        auto model = Model::create<SampleModel>();
        pending->setCallbackObject(model.get());
        answered->setCallbackObject(model.get());
        model->addRequest(pending);
        model->addRequest(answered);
        model->addRequest(pending);
        EXPECT_TRUE(model->hasRequests());
        model->removeRequest(answered);
        EXPECT_EQ(answered->callbackObject(), nullptr);
        EXPECT_EQ(pending->callbackObject(), model.get());
        EXPECT_TRUE(model->hasRequests());
    }
    EXPECT_EQ(pending->cancels, 1);
    EXPECT_EQ(answered->cancels, 0);
}

#include "AppTest.h"

#include "ModelTestSupport.h"

#include "app/model/ModelCollection.h"
#include "platform/foundation/AlertView.h"

using ModelCollectionTest = AppTest;

namespace {

class CollectionObserver : public ModelCollectionObserver {
public:
    explicit CollectionObserver(bool takesFailures) : m_takesFailures(takesFailures) {}
    void modelCollectionHasChanged(ModelCollection*) override { ++changes; }
    bool modelCollectionHasFailedToUpdate(ModelCollection*, const Error& error) override
    {
        if (m_takesFailures)
            failures.append(error);
        return m_takesFailures;
    }
    int changes = 0;
    QList<Error> failures;

private:
    bool m_takesFailures;
};

std::shared_ptr<ModelCollection> sampleCollection()
{
    auto collection = std::make_shared<ModelCollection>();
    collection->setModelSubclass<SampleModel>();
    return collection;
}

}  // namespace

TEST_F(ModelCollectionTest, AnswersMakeOneModelPerObject)
{
    auto collection = sampleCollection();
    CollectionObserver observer(true);
    collection->addObserver(&observer);
    EXPECT_EQ(observer.changes, 1);  // told at once, before any answer

    collection->setCollectionFromResponse(json(R"({"count": 4})"));
    ASSERT_EQ(collection->models().size(), 1);
    EXPECT_EQ(std::dynamic_pointer_cast<SampleModel>(collection->models()[0])->count(), 4);

    collection->setCollectionFromResponse(json(R"([{"count": 1}, "stray", {"count": 3}])"));
    ASSERT_EQ(collection->models().size(), 3);
    EXPECT_EQ(std::dynamic_pointer_cast<SampleModel>(collection->models()[1])->count(), 0);
    EXPECT_EQ(std::dynamic_pointer_cast<SampleModel>(collection->models()[2])->count(), 3);
    EXPECT_EQ(observer.changes, 3);

    collection->setCollectionFromResponse(Value());
    collection->setCollectionFromResponse(Value(u"text"));
    collection->setCollectionFromResponse(Value(7));
    EXPECT_EQ(collection->models().size(), 3);
    EXPECT_EQ(observer.changes, 3);

    collection->removeObserver(&observer);
    collection->setModels({});
    EXPECT_EQ(observer.changes, 3);
}

TEST_F(ModelCollectionTest, ARequestIsReadWholeAndForgotten)
{
    auto collection = sampleCollection();
    auto request = std::make_shared<HTTPRequest>();
    request->setResponse(json(R"([{"count": 1}, {"count": 2}])"));
    collection->addRequest(request);
    EXPECT_TRUE(collection->hasRequests());
    collection->setCollectionFromRequest(request);
    EXPECT_FALSE(collection->hasRequests());
    EXPECT_EQ(collection->models().size(), 2);
}

TEST_F(ModelCollectionTest, FailuresShowOneAlertThenReachTheObserversThatTakeThem)
{
    auto collection = sampleCollection();
    CollectionObserver taking(true);
    CollectionObserver ignoring(false);
    collection->addObserver(&taking);
    collection->addObserver(&ignoring);

    collection->failedWithError(Error::withMessage(QStringLiteral("Lists are unavailable")));
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    EXPECT_EQ(AlertView::visibleAlerts().first()->message(), QStringLiteral("Lists are unavailable"));
    ASSERT_EQ(taking.failures.size(), 1);
    EXPECT_EQ(taking.failures[0].domain(), QStringLiteral("Lists are unavailable"));
}

TEST_F(ModelCollectionTest, DestructionTellsNobody)
{
    CollectionObserver observer(true);
    {
        auto collection = sampleCollection();
        collection->addObserver(&observer);
    }
    EXPECT_EQ(observer.changes, 1);
}

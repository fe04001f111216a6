#include "AppTest.h"

#include "ModelTestSupport.h"

#include "platform/foundation/Log.h"

#include <limits>

using ModelFillingTest = AppTest;

TEST_F(ModelFillingTest, PlainKindsConvertTheirValues)
{
    auto model = Model::create<SampleModel>();
    model->setDictionary(json(R"({"count": "12", "big": "-9000000000", "ubig": "-1", "ratio": "3.5abc",
                                  "scale": 1.5, "flag": "yes"})"));
    EXPECT_EQ(model->count(), 12);
    EXPECT_EQ(model->big(), -9000000000LL);
    EXPECT_EQ(model->ubig(), std::numeric_limits<quint64>::max());
    EXPECT_DOUBLE_EQ(model->ratio(), 3.5);
    EXPECT_FLOAT_EQ(model->scale(), 1.5f);
    EXPECT_TRUE(model->flag());

    model->setDictionary(json(R"({"count": null, "flag": " +007"})"));
    EXPECT_EQ(model->count(), 0);
    EXPECT_TRUE(model->flag());
    model->setDictionary(json(R"({"count": -7.9, "ratio": [1], "flag": "no"})"));
    EXPECT_EQ(model->count(), -7);
    EXPECT_DOUBLE_EQ(model->ratio(), 0);
    EXPECT_FALSE(model->flag());
    model->setDictionary(json(R"({"count": true, "flag": 0})"));
    EXPECT_EQ(model->count(), 1);
    EXPECT_FALSE(model->flag());
}

TEST_F(ModelFillingTest, ObjectKindsTakeNumbersAsTheirDecimalText)
{
    auto model = Model::create<SampleModel>();
    model->setDictionary(json(R"({"name": 5, "payload": true})"));
    EXPECT_EQ(model->name(), QStringLiteral("5"));
    EXPECT_EQ(model->payload(), Value(u"1"));
    model->setDictionary(json(R"({"payload": false})"));
    EXPECT_EQ(model->payload(), Value(u"0"));

    // Other values reach an object setter unchanged; a text property takes
    // only texts.
    model->setDictionary(json(R"({"name": ["a"], "payload": null})"));
    EXPECT_TRUE(model->name().isNull());
    EXPECT_TRUE(model->payload().isNull());
    model->setDictionary(json(R"({"payload": {"a": [1, 2]}})"));
    EXPECT_EQ(model->payload(), json(R"({"a": [1, 2]})"));
}

TEST_F(ModelFillingTest, OnlyDeclaredKeysAreFilledAndObserversAreToldOnce)
{
    auto model = Model::create<DerivedModel>();
    RecordingObserver observer;
    model->addObserver(&observer);
    model->addObserver(&observer);

    model->setDictionary(json(R"({"Count": 3, "cOUNT": 4, "dictionary": {"name": "x"}, "id": 9, "nick": "bo",
                                  "title": "t", "user": {"userid": 1}, "unknown": 1})"));
    EXPECT_EQ(model->count(), 3);
    EXPECT_EQ(model->countSets, 1);
    EXPECT_EQ(model->name(), QStringLiteral("bo"));  // second name
    EXPECT_EQ(model->title(), QStringLiteral("t"));  // own table before the ancestors
    EXPECT_EQ(model->userSeen, json(R"({"userid": 1})"));
    EXPECT_EQ(model->derivedmodelid(), 0);
    EXPECT_EQ(observer.changes, 1);
}

TEST_F(ModelFillingTest, NothingAnnouncesAChangeOtherValuesTellNobody)
{
    auto model = Model::create<SampleModel>();
    RecordingObserver observer;
    model->addObserver(&observer);

    model->setDictionary(Value());
    model->setDictionary(Value(ValueDict()));
    EXPECT_EQ(observer.changes, 2);
    model->setDictionary(Value::null());
    model->setDictionary(json(R"([{"count": 1}])"));
    model->setDictionary(Value(u"count"));
    EXPECT_EQ(observer.changes, 2);
    EXPECT_EQ(model->count(), 0);
}

TEST_F(ModelFillingTest, ArchivingListRunsFromTheAncestorsInDeclarationOrder)
{
    auto model = Model::create<DerivedModel>();
    const QStringList expected = QStringLiteral("count big ubig ratio scale flag name payload extras title derivedmodelid")
                                     .split(u' ');
    QStringList names;
    for (const PropertyDescriptor* property : model->properties().archivingList())
        names.append(property->name);
    EXPECT_EQ(names, expected);
    EXPECT_EQ(model->serialization().keys(), expected);
    EXPECT_EQ(model->serialization().value(QStringLiteral("title")), Value(u"title"));
    EXPECT_EQ(Model::create<SampleModel>()->serialization().size(), 9);
}

TEST_F(ModelFillingTest, ToDictionaryStoresPlainValuesAndTextsOnly)
{
    auto model = Model::create<DerivedModel>();
    model->setDictionary(json(R"({"count": 2, "flag": "t", "ratio": 0.25, "payload": [1],
                                  "extras": [1], "secret": "s"})"));
    const ValueDict stored = model->toDictionary();
    EXPECT_EQ(stored.value(QStringLiteral("count")), Value(2));
    EXPECT_EQ(stored.value(QStringLiteral("flag")), Value(true));
    EXPECT_EQ(stored.value(QStringLiteral("ratio")), Value(0.25));
    EXPECT_EQ(stored.value(QStringLiteral("extras")), json("[1]"));
    EXPECT_FALSE(stored.contains(QStringLiteral("payload")));  // not a text
    EXPECT_FALSE(stored.contains(QStringLiteral("name")));     // no text yet
    EXPECT_FALSE(stored.contains(QStringLiteral("secret")));   // not archived
    EXPECT_FALSE(stored.contains(QStringLiteral("user")));

    model->setName(QStringLiteral(""));
    model->setPayload(Value(u"p"));
    EXPECT_EQ(model->toDictionary().value(QStringLiteral("name")), Value(u""));
    EXPECT_EQ(model->toDictionary().value(QStringLiteral("payload")), Value(u"p"));
}

TEST_F(ModelFillingTest, ArchiveRestoresTextsAndNumbersThroughTheSetters)
{
    auto original = Model::create<DerivedModel>();
    original->setDictionary(json(R"({"count": 41, "big": "8000000000", "flag": 1, "scale": 0.5, "name": "Ann",
                                     "title": "T", "payload": {"x": 1}, "secret": "s"})"));
    const QByteArray data = original->archive();

    auto restored = Model::unarchive<DerivedModel>(data);
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->countSets, 1);
    EXPECT_EQ(restored->count(), 41);
    EXPECT_EQ(restored->big(), 8000000000LL);
    EXPECT_TRUE(restored->flag());
    EXPECT_FLOAT_EQ(restored->scale(), 0.5f);
    EXPECT_EQ(restored->name(), QStringLiteral("Ann"));
    EXPECT_EQ(restored->title(), QStringLiteral("T"));
    EXPECT_TRUE(restored->payload().isAbsent());
    EXPECT_TRUE(restored->secret().isNull());

    EXPECT_FALSE(Model::unarchive<DerivedModel>(QByteArray("not an archive")));
}

TEST_F(ModelFillingTest, StoreOperationsTouchNothingWithoutAStore)
{
    auto model = Model::create<DerivedModel>();
    model->setDerivedmodelid(4);
    EXPECT_EQ(model->getIdName(), QStringLiteral("derivedmodelid"));
    EXPECT_EQ(model->getId(), 4);
    model->setId(7);
    EXPECT_EQ(model->derivedmodelid(), 7);
    model->saveToStore();
    model->remove();
    EXPECT_TRUE(Model::find<DerivedModel>().isEmpty());
    EXPECT_FALSE(Model::findOneById<DerivedModel>(7));

    Log::clearRecent();
    auto plain = Model::create<SampleModel>();
    EXPECT_EQ(plain->getId(), 0);
    plain->setId(3);
    ASSERT_FALSE(Log::recent().isEmpty());
    EXPECT_TRUE(Log::recent().last().endsWith(
        QStringLiteral("Unable to find selector to set id. 'setSamplemodelid:' was the attempt.")));
}

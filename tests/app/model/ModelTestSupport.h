#pragma once

#include "app/model/Model.h"
#include "app/model/ModelObserver.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QStringList>

#include <functional>

// A model with a property of every kind the table knows.
class SampleModel : public Model {
public:
    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    qint32 count() const { return m_count; }
    void setCount(qint32 v)
    {
        m_count = v;
        ++countSets;
    }
    qint64 big() const { return m_big; }
    void setBig(qint64 v) { m_big = v; }
    quint64 ubig() const { return m_ubig; }
    void setUbig(quint64 v) { m_ubig = v; }
    double ratio() const { return m_ratio; }
    void setRatio(double v) { m_ratio = v; }
    float scale() const { return m_scale; }
    void setScale(float v) { m_scale = v; }
    bool flag() const { return m_flag; }
    void setFlag(bool v) { m_flag = v; }
    QString name() const { return m_name; }
    void setName(const QString& v) { m_name = v; }
    Value payload() const { return m_payload; }
    void setPayload(const Value& v) { m_payload = v; }
    Value extras() const { return m_extras; }
    void setExtras(const Value& v) { m_extras = v; }
    QString secret() const { return m_secret; }
    void setSecret(const QString& v) { m_secret = v; }
    void setUser(const Value& v) { userSeen = v; }

    int countSets = 0;
    Value userSeen;

private:
    qint32 m_count = 0;
    qint64 m_big = 0;
    quint64 m_ubig = 0;
    double m_ratio = 0;
    float m_scale = 0;
    bool m_flag = false;
    QString m_name;
    Value m_payload;
    Value m_extras;
    QString m_secret;
};

class DerivedModel : public SampleModel {
public:
    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    QString title() const { return m_title; }
    void setTitle(const QString& v) { m_title = v; }
    qint32 derivedmodelid() const { return m_id; }
    void setDerivedmodelid(qint32 v) { m_id = v; }

private:
    QString m_title;
    qint32 m_id = 0;
};

// Counts what it is told; an optional action runs inside modelHasChanged.
class RecordingObserver : public ModelObserver {
public:
    explicit RecordingObserver(bool takesFailures = false) : m_takesFailures(takesFailures) {}

    void modelHasChanged(Model* model) override
    {
        ++changes;
        if (onChange)
            onChange(model);
    }
    bool modelHasFailedToUpdate(Model* model, const Error& error) override
    {
        if (!m_takesFailures)
            return false;
        failures.append(error);
        return true;
    }

    int changes = 0;
    QList<Error> failures;
    std::function<void(Model*)> onChange;

private:
    bool m_takesFailures;
};

// A decoded answer written as JSON text.
inline Value fromJson(const QJsonValue& json)
{
    switch (json.type()) {
    case QJsonValue::Null: return Value::null();
    case QJsonValue::Bool: return Value(json.toBool());
    case QJsonValue::Double: return Value(json.toDouble());
    case QJsonValue::String: return Value(json.toString());
    case QJsonValue::Array: {
        ValueList list;
        for (const QJsonValue& element : json.toArray())
            list.push_back(fromJson(element));
        return Value(std::move(list));
    }
    case QJsonValue::Object: {
        // QJsonObject sorts its keys; the fixtures do not depend on order.
        ValueDict dict;
        const QJsonObject object = json.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            dict.insert(it.key(), fromJson(it.value()));
        return Value(std::move(dict));
    }
    default: return Value();
    }
}

inline Value json(const char* text)
{
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray("{\"v\":") + text + "}");
    return fromJson(document.object().value(QStringLiteral("v")));
}

#pragma once

#include "Answers.h"
#include "RecordingObserver.h"
#include "app/model/Model.h"

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

#pragma once

#include "app/model/ModelWithImage.h"

#include <memory>

// What every thread-like list of posts shares (forum threads, articles): its id.
class AbstractThread : public ModelWithImage {
public:
    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    qint32 threadid() const { return m_threadid; }
    void setThreadid(qint32 threadid) { m_threadid = threadid; }

    // Loads the posts again; the base has nothing to load.
    virtual void reload() {}

private:
    qint32 m_threadid = 0;
};

using AbstractThreadPtr = std::shared_ptr<AbstractThread>;

#include "app/model/ModelMakers.h"

#include <QHash>

namespace {

QHash<QString, ModelMakers::Maker>& makers()
{
    static QHash<QString, ModelMakers::Maker> table;
    return table;
}

}  // namespace

void ModelMakers::registerMaker(const QString& className, Maker maker)
{
    if (maker)
        makers().insert(className, std::move(maker));
    else
        makers().remove(className);
}

void ModelMakers::unregisterMaker(const QString& className)
{
    makers().remove(className);
}

bool ModelMakers::isRegistered(const QString& className)
{
    return makers().contains(className);
}

ModelPtr ModelMakers::make(const QString& className, const ValueDict& values)
{
    // A copy: the maker may register others while it runs.
    const Maker maker = makers().value(className);
    return maker ? maker(values) : nullptr;
}

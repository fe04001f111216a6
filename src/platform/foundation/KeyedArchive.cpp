#include "KeyedArchive.h"

#include "platform/foundation/PropertyList.h"

namespace {
const QString kArchiverKey = QStringLiteral("$archiver");
const QString kVersionKey = QStringLiteral("$version");
const QString kRootKey = QStringLiteral("root");
const QString kArchiverName = QStringLiteral("MuKeyedArchiver");
constexpr int kVersion = 1;
}  // namespace

QByteArray KeyedArchive::archivedData(const ValueDict& root)
{
    return PropertyList::toBinary(Value(ValueDict{
        {kArchiverKey, Value(kArchiverName)},
        {kVersionKey, Value(kVersion)},
        {kRootKey, Value(root)},
    }));
}

std::optional<ValueDict> KeyedArchive::unarchive(const QByteArray& data)
{
    bool ok = false;
    const Value archive = PropertyList::fromData(data, &ok);
    if (!ok || !archive.isDict())
        return std::nullopt;
    if (archive[kArchiverKey].string() != kArchiverName || !archive[kVersionKey].isNumber()
        || archive[kVersionKey].toInt() != kVersion)
        return std::nullopt;
    const Value root = archive[kRootKey];
    if (!root.isDict())
        return std::nullopt;
    return root.dict();
}

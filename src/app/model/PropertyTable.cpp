#include "app/model/PropertyTable.h"

namespace {

// A key reaches the property whose setter is "set" + the key with its first
// letter in upper case, so the first letter matches either way and the rest
// exactly.
bool keyNames(const QString& key, const QString& name)
{
    if (key.isEmpty() || key.size() != name.size())
        return false;
    if (key.at(0).toUpper() != name.at(0).toUpper())
        return false;
    return QStringView(key).mid(1) == QStringView(name).mid(1);
}

}  // namespace

PropertyTable& PropertyTable::add(const char* name, PropertyKind kind, std::function<Value(const Model&)> getter,
                                  std::function<void(Model&, const Value&)> setter)
{
    PropertyDescriptor descriptor;
    descriptor.name = QString::fromLatin1(name);
    descriptor.kind = kind;
    descriptor.getter = std::move(getter);
    descriptor.setter = std::move(setter);
    m_own.append(std::move(descriptor));
    return *this;
}

PropertyTable& PropertyTable::secondName(const char* alias, const char* target)
{
    m_secondNames.append({QString::fromLatin1(alias), QString::fromLatin1(target)});
    return *this;
}

PropertyTable& PropertyTable::notArchived(const char* name)
{
    const QString wanted = QString::fromLatin1(name);
    for (PropertyDescriptor& descriptor : m_own) {
        if (descriptor.name == wanted)
            descriptor.archived = false;
    }
    return *this;
}

const PropertyDescriptor* PropertyTable::find(const QString& key) const
{
    for (const PropertyDescriptor& descriptor : m_own) {
        if (keyNames(key, descriptor.name))
            return &descriptor;
    }
    for (const auto& [alias, target] : m_secondNames) {
        // A second name never names itself, so this cannot loop.
        if (keyNames(key, alias) && target != alias)
            return find(target);
    }
    return m_parent ? m_parent->find(key) : nullptr;
}

QList<const PropertyDescriptor*> PropertyTable::archivingList() const
{
    QList<const PropertyDescriptor*> list = m_parent ? m_parent->archivingList() : QList<const PropertyDescriptor*>();
    for (const PropertyDescriptor& descriptor : m_own) {
        if (descriptor.archived && descriptor.getter)
            list.append(&descriptor);
    }
    return list;
}

const PropertyDescriptor* PropertyTable::findGetter(const QString& name) const
{
    for (const PropertyDescriptor& descriptor : m_own) {
        if (descriptor.name == name && descriptor.getter)
            return &descriptor;
    }
    return m_parent ? m_parent->findGetter(name) : nullptr;
}

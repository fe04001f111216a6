#pragma once

#include "app/model/PropertyDescriptor.h"
#include "app/model/PropertyKind.h"
#include "platform/foundation/Value.h"

#include <QList>
#include <QString>

#include <functional>

class Model;

// The per-class table that filling, toDictionary and archiving all read.
// A class's table chains to its parent's; declaration order is kept.
//
//   const PropertyTable& Friend::propertyTable() {
//       static const PropertyTable table = PropertyTable(&ModelWithImage::propertyTable())
//           .integer("userid", &Friend::userid, &Friend::setUserid)
//           .text("username", &Friend::username, &Friend::setUsername)
//           .setterOnly("user", &Friend::setUser);
//       return table;
//   }
class PropertyTable {
public:
    explicit PropertyTable(const PropertyTable* parent = nullptr) : m_parent(parent) {}

    template <typename M>
    PropertyTable& integer(const char* name, qint32 (M::*get)() const, void (M::*set)(qint32))
    {
        return add(name, PropertyKind::Int32, getterOf<M>(get, [](qint32 v) { return Value(v); }),
                   setterOf<M>(set, [](const Value& v) { return v.toInt(); }));
    }
    template <typename M>
    PropertyTable& int64(const char* name, qint64 (M::*get)() const, void (M::*set)(qint64))
    {
        return add(name, PropertyKind::Int64, getterOf<M>(get, [](qint64 v) { return Value(v); }),
                   setterOf<M>(set, [](const Value& v) { return v.toLongLong(); }));
    }
    template <typename M>
    PropertyTable& uint64(const char* name, quint64 (M::*get)() const, void (M::*set)(quint64))
    {
        return add(name, PropertyKind::UInt64, getterOf<M>(get, [](quint64 v) { return Value(v); }),
                   setterOf<M>(set, [](const Value& v) { return v.toULongLong(); }));
    }
    template <typename M>
    PropertyTable& real(const char* name, double (M::*get)() const, void (M::*set)(double))
    {
        return add(name, PropertyKind::Double, getterOf<M>(get, [](double v) { return Value(v); }),
                   setterOf<M>(set, [](const Value& v) { return v.toDouble(); }));
    }
    template <typename M>
    PropertyTable& real32(const char* name, float (M::*get)() const, void (M::*set)(float))
    {
        return add(name, PropertyKind::Float,
                   getterOf<M>(get, [](float v) { return Value(static_cast<double>(v)); }),
                   setterOf<M>(set, [](const Value& v) { return v.toFloat(); }));
    }
    template <typename M>
    PropertyTable& boolean(const char* name, bool (M::*get)() const, void (M::*set)(bool))
    {
        return add(name, PropertyKind::Bool, getterOf<M>(get, [](bool v) { return Value(v); }),
                   setterOf<M>(set, [](const Value& v) { return v.toBool(); }));
    }
    // A text property: it takes a text (a number as its decimal text); any
    // other value sets it to nothing (a null QString).
    template <typename M>
    PropertyTable& text(const char* name, QString (M::*get)() const, void (M::*set)(const QString&))
    {
        return add(name, PropertyKind::Object, getterOf<M>(get, [](const QString& v) {
                       return v.isNull() ? Value() : Value(v);
                   }),
                   setterOf<M>(set, [](const Value& v) { return v.isString() ? v.string() : QString(); }));
    }
    // An object property whose setter takes the value as it comes (a number
    // already turned into its decimal text). The getter may be null.
    template <typename M>
    PropertyTable& object(const char* name, Value (M::*get)() const, void (M::*set)(const Value&),
                          bool archivesAnyValue = false)
    {
        std::function<Value(const Model&)> getter;
        if (get)
            getter = [get](const Model& m) { return (static_cast<const M&>(m).*get)(); };
        PropertyTable& t = add(name, PropertyKind::Object, std::move(getter), setterOf<M>(set, [](const Value& v) {
                                   return v;
                               }));
        m_own.last().archivesAnyValue = archivesAnyValue;
        return t;
    }
    // A key that the class accepts through a setter but that is no field of
    // its own (not archived): "user" filling a member, "dbsessionhash" dropped.
    template <typename M>
    PropertyTable& setterOnly(const char* name, void (M::*set)(const Value&))
    {
        PropertyTable& t = add(name, PropertyKind::Object, {}, setterOf<M>(set, [](const Value& v) { return v; }));
        m_own.last().archived = false;
        return t;
    }
    // A field with a getter that answers no key (archived but never filled).
    template <typename M, typename R>
    PropertyTable& readOnly(const char* name, PropertyKind kind, R (M::*get)() const)
    {
        return add(name, kind, getterOf<M>(get, [](const R& v) { return Value(v); }), {});
    }
    // A field that holds what is no plain value (a nested model, a list of
    // models, an image): it is in the archiving list, reads as nothing and so
    // is never stored by toDictionary; the setter takes the answer's value.
    template <typename M>
    PropertyTable& nested(const char* name, void (M::*set)(const Value&))
    {
        return add(name, PropertyKind::Object, [](const Model&) { return Value(); },
                   setterOf<M>(set, [](const Value& v) { return v; }));
    }
    // A second name for a key: "numbers" fills what "pagenumbers" fills.
    PropertyTable& secondName(const char* alias, const char* target);
    // Marks a declared property as left out of the archive.
    PropertyTable& notArchived(const char* name);

    // The property a key fills, looked up in this class and then its
    // ancestors; second names resolve to their target. Null when none.
    const PropertyDescriptor* find(const QString& key) const;
    // The archived properties of the ancestors (farthest first) and then of
    // this class, each in declaration order.
    QList<const PropertyDescriptor*> archivingList() const;
    // The readable property of exactly this name (no second names), looked up
    // in this class and then its ancestors. Null when none.
    const PropertyDescriptor* findGetter(const QString& name) const;

    const PropertyTable* parent() const { return m_parent; }

private:
    PropertyTable& add(const char* name, PropertyKind kind, std::function<Value(const Model&)> getter,
                       std::function<void(Model&, const Value&)> setter);

    template <typename M, typename R, typename Wrap>
    static std::function<Value(const Model&)> getterOf(R (M::*get)() const, Wrap wrap)
    {
        if (!get)
            return {};
        return [get, wrap](const Model& m) { return wrap((static_cast<const M&>(m).*get)()); };
    }
    template <typename M, typename A, typename Convert>
    static std::function<void(Model&, const Value&)> setterOf(void (M::*set)(A), Convert convert)
    {
        if (!set)
            return {};
        return [set, convert](Model& m, const Value& v) { (static_cast<M&>(m).*set)(convert(v)); };
    }

    const PropertyTable* m_parent = nullptr;
    QList<PropertyDescriptor> m_own;
    QList<std::pair<QString, QString>> m_secondNames;
};

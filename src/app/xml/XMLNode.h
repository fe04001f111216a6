#pragma once

#include "platform/foundation/Value.h"

#include <QString>

#include <memory>
#include <vector>

// One element of a read XML document: its name, its attributes (in document
// order), its child elements and its text. A node owns its children; the
// parent is only referred to.
class XMLNode : public std::enable_shared_from_this<XMLNode> {
public:
    XMLNode(const QString& name, const ValueDict& attributes);
    static std::shared_ptr<XMLNode> create(const QString& name, const ValueDict& attributes = {});

    XMLNode(const XMLNode&) = delete;
    XMLNode& operator=(const XMLNode&) = delete;

    // Appends the child and makes this node its parent. A node cannot become
    // a child of itself or of one of its descendants (that would be a cycle).
    void addChild(const std::shared_ptr<XMLNode>& child);
    void setLeafData(const QString& text);

    // The text with percent escapes decoded as UTF-8; the text as stored when
    // an escape does not decode; "" when the node has no text.
    QString data() const;
    // The text exactly as stored; a null QString when the node has none.
    const QString& leafData() const { return m_data; }

    int childCount() const { return static_cast<int>(m_children.size()); }
    // The child at the index; null when the index is out of range.
    std::shared_ptr<XMLNode> getChild(int index) const;
    // The first child of that name; null when none.
    std::shared_ptr<XMLNode> childWithName(const QString& name) const;
    const std::vector<std::shared_ptr<XMLNode>>& children() const { return m_children; }

    // One entry per child by name: the child's own dictionary when it has
    // children, else its data. A later child of the same name wins.
    ValueDict toDictionary() const;
    // The element as XML text; see the source for the exact layout.
    QString toString() const;

    const QString& name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    const ValueDict& attributes() const { return m_attributes; }
    void setAttributes(const ValueDict& attributes) { m_attributes = attributes; }
    std::shared_ptr<XMLNode> parent() const { return m_parent.lock(); }
    void setParent(const std::shared_ptr<XMLNode>& parent) { m_parent = parent; }

private:
    QString m_name;
    std::vector<std::shared_ptr<XMLNode>> m_children;
    QString m_data;
    ValueDict m_attributes;
    std::weak_ptr<XMLNode> m_parent;
};

using XMLNodePtr = std::shared_ptr<XMLNode>;

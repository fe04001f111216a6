#include "app/xml/XMLNode.h"

#include "platform/foundation/Log.h"

#include <QStringDecoder>

namespace {

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The text with its percent escapes decoded as UTF-8, or a null QString when
// an escape is incomplete or the decoded bytes are not UTF-8.
QString percentDecoded(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) != '%')
            continue;
        if (i + 2 >= bytes.size() || !isHexDigit(bytes.at(i + 1)) || !isHexDigit(bytes.at(i + 2)))
            return {};
        i += 2;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(QByteArray::fromPercentEncoding(bytes));
    if (decoder.hasError())
        return {};
    return decoded;
}

// Written back, text and attribute values must read as the same texts again.
// Text escapes ">" too; an attribute value, in double quotes, escapes those.
QString escaped(const QString& text, QChar third, const char16_t* thirdEntity)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'&')
            out += u"&amp;";
        else if (c == u'<')
            out += u"&lt;";
        else if (c == third)
            out += thirdEntity;
        else
            out += c;
    }
    return out;
}

QString escapedText(const QString& text)
{
    return escaped(text, u'>', u"&gt;");
}

QString escapedAttribute(const QString& value)
{
    return escaped(value, u'"', u"&quot;");
}

}  // namespace

XMLNode::XMLNode(const QString& name, const ValueDict& attributes) : m_name(name), m_attributes(attributes) {}

std::shared_ptr<XMLNode> XMLNode::create(const QString& name, const ValueDict& attributes)
{
    return std::make_shared<XMLNode>(name, attributes);
}

void XMLNode::addChild(const std::shared_ptr<XMLNode>& child)
{
    if (!child)
        return;
    for (const XMLNode* node = this; node; node = node->m_parent.lock().get()) {
        if (node == child.get()) {
            MU_LOG(Log::network, QStringLiteral("A node cannot contain itself: ") + child->name());
            return;
        }
    }
    m_children.push_back(child);
    child->m_parent = weak_from_this();
}

void XMLNode::setLeafData(const QString& text)
{
    m_data = text;
}

QString XMLNode::data() const
{
    if (m_data.isNull())
        return QStringLiteral("");
    const QString decoded = percentDecoded(m_data);
    return decoded.isNull() ? m_data : decoded;
}

std::shared_ptr<XMLNode> XMLNode::getChild(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    return m_children[static_cast<size_t>(index)];
}

std::shared_ptr<XMLNode> XMLNode::childWithName(const QString& name) const
{
    for (const std::shared_ptr<XMLNode>& child : m_children) {
        if (child->name() == name)
            return child;
    }
    return nullptr;
}

ValueDict XMLNode::toDictionary() const
{
    ValueDict dictionary;
    for (const std::shared_ptr<XMLNode>& child : m_children) {
        if (child->childCount() > 0)
            dictionary.insert(child->name(), Value(child->toDictionary()));
        else
            dictionary.insert(child->name(), Value(child->data()));
    }
    return dictionary;
}

// "<name " (a space always follows the name), each attribute as name="value"
// and a space, ">", the children, the text, "</name>".
QString XMLNode::toString() const
{
    QString out = u'<' + m_name + u' ';
    for (const auto& [key, value] : m_attributes)
        out += key + QStringLiteral("=\"") + escapedAttribute(value.toString()) + QStringLiteral("\" ");
    out += u'>';
    for (const std::shared_ptr<XMLNode>& child : m_children)
        out += child->toString();
    out += escapedText(m_data) + QStringLiteral("</") + m_name + u'>';
    return out;
}

#include "app/xml/XMLTree.h"

#include "app/net/HTTPRequestSyncronic.h"
#include "platform/foundation/Log.h"

#include <QXmlStreamReader>

std::shared_ptr<XMLTree> XMLTree::treeWithData(const QByteArray& data)
{
    auto tree = std::make_shared<XMLTree>();
    tree->parseXMLFileWithData(data);
    return tree;
}

bool XMLTree::parseXMLFileWithData(const QByteArray& data)
{
    Error error;
    if (parse(data, error))
        return true;
    MU_LOG(Log::network, QStringLiteral("Error parsing XML. Error: '") + error.description() + QStringLiteral("'. XML: ")
           + QString::fromUtf8(data));
    return false;
}

bool XMLTree::parseXMLFileWithData(const QByteArray& data, Error* parseError)
{
    Error error;
    if (parse(data, error))
        return true;
    if (parseError)
        *parseError = error;
    MU_LOG(Log::network, error.description());
    return false;
}

bool XMLTree::parseXMLFileAtURL(const QUrl& url, Error* parseError)
{
    const std::shared_ptr<HTTPRequestSyncronic> request = HTTPRequestSyncronic::create();
    request->setTimeoutInterval(FetchTimeoutSeconds);
    request->setCallbackObject(this);
    request->setSuccessSelector(Selector("fetchSucceeded:", &XMLTree::fetchSucceeded));
    request->setFailureSelector(Selector("fetchFailed:", &XMLTree::fetchFailed));
    m_fetchSucceeded = false;
    request->requestUrl(url);

    if (!m_fetchSucceeded) {
        Error error = request->error();
        if (!error.isSet()) {
            error = Error(QStringLiteral("network"), -1,
                          QStringLiteral("The address could not be loaded: ") + url.toDisplayString());
        } else if (error.description().isEmpty()) {
            error = Error(error.domain(), error.code(),
                          QStringLiteral("The address answered with status %1: ").arg(error.code())
                              + url.toDisplayString());
        }
        if (parseError)
            *parseError = error;
        MU_LOG(Log::network, error.description());
        return false;
    }
    return parseXMLFileWithData(request->loadedData(), parseError);
}

void XMLTree::fetchSucceeded(const std::shared_ptr<HTTPRequest>&)
{
    m_fetchSucceeded = true;
}

void XMLTree::fetchFailed(const std::shared_ptr<HTTPRequest>&)
{
    m_fetchSucceeded = false;
}

void XMLTree::reset()
{
    m_root.reset();
    m_currentNode.reset();
    m_currentData.clear();
}

QString XMLTree::toString() const
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?> ") + (m_root ? m_root->toString() : QString());
}

bool XMLTree::parse(const QByteArray& data, Error& error)
{
    QXmlStreamReader reader(data);
    // Names stay as written ("x:item"); no entity resolver is set, so
    // external entities stay unresolved, and the expansion limit stays on.
    reader.setNamespaceProcessing(false);
    m_depth = 0;

    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (m_depth >= MaxDepth) {
                reader.raiseError(QStringLiteral("Elements are nested deeper than %1 levels.").arg(MaxDepth));
                break;
            }
            startElement(reader);
            break;
        case QXmlStreamReader::Characters:
            m_currentData += reader.text();
            break;
        case QXmlStreamReader::EndElement:
            endElement();
            break;
        default:
            break;
        }
    }

    // Whatever the outcome, the nodes of a document that has no place in
    // this tree go now, so no current node outlives its owner.
    m_detachedTop.reset();
    if (!reader.hasError())
        return true;
    error = Error(QStringLiteral("XMLParser"), static_cast<int>(reader.error()),
                  QStringLiteral("%1 (line %2, column %3)")
                      .arg(reader.errorString())
                      .arg(reader.lineNumber())
                      .arg(reader.columnNumber()));
    return false;
}

void XMLTree::startElement(QXmlStreamReader& reader)
{
    const QString name = reader.qualifiedName().isEmpty() ? reader.name().toString()
                                                          : reader.qualifiedName().toString();
    ValueDict attributes;
    for (const QXmlStreamAttribute& attribute : reader.attributes()) {
        const QString key = attribute.qualifiedName().isEmpty() ? attribute.name().toString()
                                                                : attribute.qualifiedName().toString();
        attributes.insert(key, Value(attribute.value().toString()));
    }
    const std::shared_ptr<XMLNode> node = XMLNode::create(name, attributes);

    const std::shared_ptr<XMLNode> current = m_currentNode.lock();
    if (!m_root)
        m_root = node;
    if (current)
        current->addChild(node);
    else if (node != m_root)
        m_detachedTop = node;
    m_currentNode = node;
    m_currentData.clear();
    ++m_depth;
}

void XMLTree::endElement()
{
    const std::shared_ptr<XMLNode> current = m_currentNode.lock();
    if (current && !m_currentData.isEmpty())
        current->setLeafData(m_currentData);
    m_currentData.clear();
    m_currentNode = current ? current->parent() : nullptr;
    --m_depth;
}

#pragma once

#include "app/xml/XMLNode.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Trackable.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <memory>

class HTTPRequest;
class QXmlStreamReader;

// Reads an XML document into a tree of XMLNode. Names are kept as qualified
// names (no namespace processing) and external entities are never resolved.
// An element's text is the text after its last child (or its whole content
// when it has none); text between children is not kept.
class XMLTree : public virtual Trackable {
public:
    // Deeper documents are refused: the tree is walked recursively.
    static constexpr int MaxDepth = 512;
    static constexpr int FetchTimeoutSeconds = 20;

    XMLTree() = default;
    XMLTree(const XMLTree&) = delete;
    XMLTree& operator=(const XMLTree&) = delete;

    // A tree that has parsed the data, whether or not the parse succeeded.
    static std::shared_ptr<XMLTree> treeWithData(const QByteArray& data);

    // Parses into this tree; false (and a log line) on a parse error. The
    // tree keeps what it had read before the error.
    bool parseXMLFileWithData(const QByteArray& data);
    // As above; the error goes to `parseError` when one is given.
    bool parseXMLFileWithData(const QByteArray& data, Error* parseError);
    // Fetches the address synchronously, then parses the body. An address
    // that does not answer with 200 is a failure too.
    bool parseXMLFileAtURL(const QUrl& url, Error* parseError = nullptr);

    // Forgets the document so that the tree can read another one.
    void reset();
    // An XML declaration, a space, and the root's text.
    QString toString() const;

    std::shared_ptr<XMLNode> root() const { return m_root; }
    void setRoot(const std::shared_ptr<XMLNode>& root) { m_root = root; }
    // The element being read; null between documents.
    std::shared_ptr<XMLNode> currentNode() const { return m_currentNode.lock(); }
    const QString& currentData() const { return m_currentData; }

private:
    // Reads the whole document; on a parse error returns false and fills `error`.
    bool parse(const QByteArray& data, Error& error);
    void startElement(QXmlStreamReader& reader);
    void endElement();

    void fetchSucceeded(const std::shared_ptr<HTTPRequest>& request);
    void fetchFailed(const std::shared_ptr<HTTPRequest>& request);

    std::shared_ptr<XMLNode> m_root;
    std::weak_ptr<XMLNode> m_currentNode;
    QString m_currentData;
    // The top element of a document read while an earlier root is kept: it
    // belongs to no tree, so it is held here only while its document is read.
    std::shared_ptr<XMLNode> m_detachedTop;
    int m_depth = 0;
    bool m_fetchSucceeded = false;
};

using XMLTreePtr = std::shared_ptr<XMLTree>;

#include "AppTest.h"

#include "app/xml/XMLTree.h"
#include "platform/foundation/Log.h"

#include "TestForum.h"

#include <QFile>
#include <QTemporaryDir>

using XMLTreeTest = AppTest;
using XMLNodeTest = AppTest;

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

std::shared_ptr<XMLNode> parsedRoot(const char* xml)
{
    const XMLTreePtr tree = XMLTree::treeWithData(QByteArray(xml));
    return tree->root();
}

}  // namespace

TEST_F(XMLTreeTest, BuildsTheTreeAndLooksUpChildren)
{
    const XMLTreePtr tree = std::make_shared<XMLTree>();
    ASSERT_TRUE(tree->parseXMLFileWithData(QByteArray("<a><b>1</b><c>2</c></a>")));
    const XMLNodePtr root = tree->root();
    ASSERT_TRUE(root);
    EXPECT_EQ(root->name(), s("a"));
    EXPECT_FALSE(root->parent());
    ASSERT_EQ(root->childCount(), 2);
    EXPECT_EQ(root->childWithName(s("b")), root->getChild(0));
    EXPECT_EQ(root->getChild(1)->name(), s("c"));
    EXPECT_EQ(root->getChild(1)->parent(), root);
    EXPECT_FALSE(root->getChild(2));
    EXPECT_FALSE(root->getChild(-1));
    EXPECT_EQ(root->toDictionary(), (ValueDict{{s("b"), Value(s("1"))}, {s("c"), Value(s("2"))}}));
    EXPECT_FALSE(tree->currentNode());

    const XMLNodePtr nested = parsedRoot("<a><b>1</b><c><d>x</d></c><b>2</b><e/></a>");
    EXPECT_EQ(nested->toDictionary(),
              (ValueDict{{s("b"), Value(s("2"))},
                         {s("c"), Value(ValueDict{{s("d"), Value(s("x"))}})},
                         {s("e"), Value(s(""))}}));
    EXPECT_TRUE(nested->getChild(0)->toDictionary().isEmpty());
}

TEST_F(XMLTreeTest, KeepsOnlyTheTextAfterTheLastChild)
{
    EXPECT_EQ(parsedRoot("<a>\n  <b>1</b>\n</a>")->leafData(), s("\n"));
    EXPECT_EQ(parsedRoot("<a>x<b/>y<c/>z</a>")->leafData(), s("z"));
    EXPECT_EQ(parsedRoot("<a>1 &lt; 2 &amp;&#x41;<![CDATA[<raw>]]></a>")->leafData(), s("1 < 2 &A<raw>"));

    const XMLNodePtr qualified = parsedRoot("<x:a xmlns:x=\"urn:y\" x:k=\"v\"><x:b/></x:a>");
    EXPECT_EQ(qualified->name(), s("x:a"));
    EXPECT_EQ(qualified->attributes().value(s("x:k")), Value(s("v")));
    EXPECT_EQ(qualified->getChild(0)->name(), s("x:b"));
}

TEST_F(XMLNodeTest, DataDecodesPercentEscapesAsUtf8)
{
    const XMLNodePtr node = XMLNode::create(s("a"));
    EXPECT_EQ(node->data(), s(""));
    const std::pair<const char*, const char*> cases[] = {
        {"hello%20world", "hello world"}, {"caf%C3%A9+x", "caf\xC3\xA9+x"}, {"50%", "50%"},
        {"%zz1", "%zz1"},                 {"bad%FF", "bad%FF"},            {"plain", "plain"},
    };
    for (const auto& [stored, shown] : cases) {
        node->setLeafData(s(stored));
        EXPECT_EQ(node->data(), s(shown)) << stored;
    }
}

TEST_F(XMLNodeTest, WritesElementsWithEscapes)
{
    const XMLNodePtr a = XMLNode::create(s("a"));
    a->setLeafData(s("x"));
    EXPECT_EQ(a->toString(), s("<a >x</a>"));

    const XMLTreePtr tree = XMLTree::treeWithData(
        QByteArray("<r k=\"a&quot;b&amp;c&lt;d>\" n=\"1\"><e></e><f>1 &lt; 2 &amp;&amp; 3 &gt; 0</f></r>"));
    const QString expected = s("<?xml version=\"1.0\" encoding=\"UTF-8\"?> "
                               "<r k=\"a&quot;b&amp;c&lt;d>\" n=\"1\" ><e ></e><f >1 &lt; 2 &amp;&amp; 3 &gt; 0</f></r>");
    EXPECT_EQ(tree->toString(), expected);
    EXPECT_EQ(XMLTree::treeWithData(tree->toString().toUtf8())->toString(), expected);

    // A node cannot be put inside itself (the tree would never end).
    const XMLNodePtr child = XMLNode::create(s("c"));
    a->addChild(child);
    child->addChild(a);
    EXPECT_EQ(child->childCount(), 0);
    EXPECT_EQ(a->toString(), s("<a ><c ></c>x</a>"));
}

TEST_F(XMLTreeTest, ReportsMalformedDocumentsAndKeepsWhatWasRead)
{
    Log::clearRecent();
    XMLTree tree;
    EXPECT_FALSE(tree.parseXMLFileWithData(QByteArray("<a><b>1</b><c>")));
    ASSERT_TRUE(tree.root());
    EXPECT_EQ(tree.root()->childCount(), 2);
    EXPECT_EQ(tree.root()->getChild(0)->leafData(), s("1"));
    ASSERT_FALSE(Log::recent().isEmpty());
    EXPECT_TRUE(Log::recent().last().contains(s(" [Line ")) && Log::recent().last().contains(s("] Error parsing XML. Error: '")));
    EXPECT_TRUE(Log::recent().last().endsWith(s("'. XML: <a><b>1</b><c>")));

    tree.reset();
    EXPECT_FALSE(tree.root());
    Error error;
    EXPECT_FALSE(tree.parseXMLFileWithData(QByteArray("<a></b>"), &error));
    EXPECT_TRUE(error.isSet());
    EXPECT_TRUE(Log::recent().last().endsWith(s("] ") + error.description()));
}

TEST_F(XMLTreeTest, ASecondDocumentWithoutResetKeepsTheFirstRoot)
{
    XMLTree tree;
    ASSERT_TRUE(tree.parseXMLFileWithData(QByteArray("<a><b/></a>")));
    const XMLNodePtr first = tree.root();
    EXPECT_TRUE(tree.parseXMLFileWithData(QByteArray("<z><y>1</y></z>")));
    EXPECT_EQ(tree.root(), first);
    EXPECT_FALSE(tree.currentNode());

    // A broken second document must not leave its half-read node current.
    EXPECT_FALSE(tree.parseXMLFileWithData(QByteArray("<z><y>")));
    EXPECT_FALSE(tree.currentNode());
    EXPECT_EQ(tree.root(), first);

    tree.reset();
    ASSERT_TRUE(tree.parseXMLFileWithData(QByteArray("<z/>")));
    EXPECT_EQ(tree.root()->name(), s("z"));
}

TEST_F(XMLTreeTest, RefusesHostileDocuments)
{
    QTemporaryDir folder;
    QFile secret(folder.filePath(s("secret.txt")));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write("TOPSECRET");
    secret.close();
    const QByteArray external = "<!DOCTYPE a [<!ENTITY e SYSTEM \"file://" + secret.fileName().toUtf8()
        + "\">]><a>x&e;y</a>";
    XMLTree tree;
    ASSERT_TRUE(tree.parseXMLFileWithData(external));
    EXPECT_EQ(tree.root()->leafData(), s("xy"));

    QByteArray laughs = "<!DOCTYPE a [<!ENTITY l0 \"lol\">";
    for (int i = 1; i < 10; ++i)
        laughs += "<!ENTITY l" + QByteArray::number(i) + " \"" + QByteArray("&l" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
    laughs += "]><a>&l9;</a>";
    EXPECT_FALSE(XMLTree().parseXMLFileWithData(laughs, nullptr));

    const QByteArray deep = QByteArray("<a>").repeated(XMLTree::MaxDepth + 1) + QByteArray("</a>").repeated(XMLTree::MaxDepth + 1);
    XMLTree deepTree;
    EXPECT_FALSE(deepTree.parseXMLFileWithData(deep, nullptr));
    EXPECT_TRUE(deepTree.root());
    const QByteArray allowed = QByteArray("<a>").repeated(XMLTree::MaxDepth) + QByteArray("</a>").repeated(XMLTree::MaxDepth);
    EXPECT_TRUE(XMLTree().parseXMLFileWithData(allowed, nullptr));
}

TEST_F(XMLTreeTest, FetchesAndParsesAnAddress)
{
    TestForum forum;
    ASSERT_TRUE(forum.start(0));
    forum.setPicture(s("feed.xml"), QByteArray("<feed><item>one</item></feed>"));
    const QUrl address(forum.baseUrl() + s("/images/feed.xml"));

    XMLTree tree;
    Error error;
    ASSERT_TRUE(tree.parseXMLFileAtURL(address, &error));
    EXPECT_EQ(tree.root()->toDictionary(), (ValueDict{{s("item"), Value(s("one"))}}));

    forum.failPicture(s("feed.xml"), 404);
    tree.reset();
    EXPECT_FALSE(tree.parseXMLFileAtURL(address, &error));
    EXPECT_EQ(error.code(), 404);
    EXPECT_FALSE(tree.root());

    const QUrl closed(s("http://127.0.0.1:%1/feed.xml").arg(forum.port()));
    forum.stop();
    Error transport;
    EXPECT_FALSE(tree.parseXMLFileAtURL(closed, &transport));
    EXPECT_TRUE(Log::recent().last().endsWith(s("] ") + transport.description()));
}

#pragma once

#include "app/model/Model.h"

#include <QList>
#include <QString>

#include <memory>

// A post's BB-code as a tree of quoted blocks: the root stands for the whole
// text, each nested node for one quoted block ("[QUOTE]", "[QUOTE=name;id]"
// or "<<", closed by "[/QUOTE]" or ">>"). A node covers exactly its opening
// tag, its parts and its closing tag, so that its parent can step over it.
//
// Nesting deeper than MaxDepth stays text, and no reading goes past the end
// of the text, whatever it holds.
class PostQuote : public Model {
public:
    // One part of a node: a text, or a nested block.
    struct Part {
        QString text;
        std::shared_ptr<PostQuote> quote;
        bool isQuote() const { return quote != nullptr; }
    };

    static constexpr int MaxDepth = 64;

    // The form in which the system writes a quote: "[QUOTE=%@;%d]%@[/QUOTE]"
    // with the member's name, the post's id and its BB-code, unescaped.
    static QString writeQuote(const QString& username, qint32 postid, const QString& bbcode);

    // The root of a message; none for a null message. Posts pass no author.
    static std::shared_ptr<PostQuote> initWithAuthor(const QString& author, const QString& message);
    // A nested node of a text that begins at an opening tag; it starts with
    // its parent's author.
    static std::shared_ptr<PostQuote> initWithParent(PostQuote* parent, const QString& string);

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    // Characters of the text the node covers.
    qsizetype length() const;
    // The opening and the closing tag's lengths (a missing tag counts 0).
    qsizetype tagslength() const { return m_opentag.size() + m_closetag.size(); }
    // "<...>" around the parts' descriptions, for logs.
    QString description() const;

    const QList<Part>& info() const { return m_info; }
    void setInfo(const QList<Part>& info) { m_info = info; }
    QString opentag() const { return m_opentag; }
    void setOpentag(const QString& tag) { m_opentag = tag; }
    QString closetag() const { return m_closetag; }
    void setClosetag(const QString& tag) { m_closetag = tag; }
    QString author() const { return m_author; }
    void setAuthor(const QString& author) { m_author = author; }
    // Not owned: the enclosing node; none for the root.
    PostQuote* parent() const { return m_parent.get(); }
    void setParent(PostQuote* parent) { m_parent = WeakRef<PostQuote>(parent); }

private:
    class Parser;

    QList<Part> m_info;
    QString m_opentag;
    QString m_closetag;
    QString m_author;
    WeakRef<PostQuote> m_parent;
};

using PostQuotePtr = std::shared_ptr<PostQuote>;

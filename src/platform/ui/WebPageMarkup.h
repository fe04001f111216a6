#pragma once

#include <QString>
#include <QStringList>

#include <memory>

// A page's HTML written anew for the platform's rich-text importer, which
// reads HTML its own way and whose lay-out time doubles with each level of
// nested tables. The page is read once as a browser reads it:
// - scripts go, and so does every attribute inside a tag that would run one
//   ("on..."); the text is never changed;
// - style sheets, wherever they stand, apply to the whole page (in the body
//   the importer would hide what follows one);
// - what follows the end of the body stays in the body, on a line of its
//   own, and text after a closing div starts a line of its own;
// - a div with a border (by its style, or a class the style sheets give a
//   border) becomes a table of one cell, the only block the importer draws
//   a border around;
// - nesting is bounded: boxes and tables at most kMaxFrames deep (a deeper
//   one is drawn flat, beside the box it stands in, which goes on after it),
//   lists and indented blocks kMaxIndents deep, any element kMaxElements
//   deep (deeper tags are left out, their text stays);
// - the body comes in parts of about `partLength` characters, each whole:
//   what is open at the end of a part is closed there and opened again at
//   the start of the next. A part is written when it is first asked for, so
//   that no more than a part or two of a long page is ever worked on at once.
class WebPageMarkup {
public:
    static constexpr int kMaxFrames = 3;
    static constexpr int kMaxIndents = 6;
    static constexpr int kMaxElements = 40;
    static constexpr qsizetype kPartLength = 64 * 1024;

    explicit WebPageMarkup(const QString& html, qsizetype partLength = kPartLength);
    ~WebPageMarkup();
    WebPageMarkup(const WebPageMarkup&) = delete;
    WebPageMarkup& operator=(const WebPageMarkup&) = delete;

    // Every style sheet of the page, in the page's order.
    const QString& styleSheet() const { return m_styleSheet; }
    // Whether the page has this part (from 0); the first always.
    bool hasPart(int part);
    // The part of the body; empty past the last.
    QString part(int part);
    // A part as a whole document, with the page's style sheets and what
    // stands before and after it.
    QString document(int part, const QString& before = QString(), const QString& after = QString());

    // The page without its scripts and the attributes that run them; the
    // rest as it was written, its text unchanged.
    static QString withoutScripts(const QString& html);

private:
    class Writing;
    QString m_styleSheet;
    std::unique_ptr<Writing> m_writing;
};

#pragma once

#include <QHash>
#include <QString>

#include <optional>

// An in-app link as the forum writes it into its pages: the scheme "mu"
// (exactly: "MU:" is no such link), a command, then key=value pieces, each
// after a "/": "mu:showthread/t=123/p=0". The text is read as written, with
// no decoding. A piece without "=" means nothing and is passed over; a
// value ends at the next "=" of its piece; a later piece with the same key
// replaces an earlier one.
class MuLink {
public:
    // The link the text is, or nothing when the text is not an in-app link.
    static std::optional<MuLink> parse(const QString& text);

    const QString& command() const { return m_command; }
    // Whether the link has the key at all, with any value.
    bool has(const QString& key) const;
    // The key's value; a null text when the link does not have the key.
    QString value(const QString& key) const;
    // The value's leading integer (after blanks and a sign); 0 when it has
    // none or the link does not have the key.
    qint32 integer(const QString& key) const;
    // An id under its key; when that gives 0, under its short alias.
    qint32 id(const QString& key, const QString& alias = QString()) const;
    const QHash<QString, QString>& parameters() const { return m_parameters; }

private:
    QString m_command;
    QHash<QString, QString> m_parameters;
};

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>

#include <optional>
#include <string>
#include <utility>
#include <vector>

// The pictures the forum serves at "images/<name>", each with the time it last
// changed, and how any picture is answered: with "Date" and "Last-Modified",
// and 304 to a client that holds it already. Not locked: the forum guards it.
class ForumPictures {
public:
    struct Picture {
        QByteArray bytes;
        QDateTime stamp;  // whole seconds, as the "Date" text carries them
    };

    struct Served {
        int status = 200;
        QByteArray body;
        std::string type;
        std::vector<std::pair<std::string, std::string>> headers;
    };

    // Every file below the folder, named by its path within it.
    void loadFolder(const QString& folder);
    // A new picture, dated now (an upload).
    void store(const QString& name, const QByteArray& bytes);
    // A changed picture never carries a date a client already holds.
    void replace(const QString& name, const QByteArray& bytes);
    std::optional<Picture> find(const QString& name) const;
    QByteArray bytes(const QString& name) const { return m_pictures.value(name).bytes; }
    // The "Date" text it is served with now; empty when there is no such picture.
    QString dateOf(const QString& name) const;

    static QDateTime now();
    static QString httpDate(const QDateTime& time);
    static std::string typeOf(const QString& name);
    // The answer to a GET of the picture (none: 404) with this "If-Modified-Since";
    // `failStatus` answers that status instead (200: a body that is no picture).
    static Served serve(const std::optional<Picture>& picture, const std::string& type, const QString& ifModifiedSince,
                        int failStatus, bool omitDate);

private:
    QHash<QString, Picture> m_pictures;
};

#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

#include <optional>

// The misbehaviours a test has asked for, each for a number of matching requests.
// Not locked: the forum guards it.
class ForumControls {
public:
    enum class Kind { Error, HttpStatus, SignWrongly, Drop, Answer, RawAnswer, PictureFail, PictureNoDate, Delay, Gate, RefuseUpload, FloodCheck, StoreLate };

    struct Rule {
        Kind kind = Kind::Error;
        QString target;      // API method or picture name; empty matches all
        int remaining = 1;   // negative: no limit
        QJsonValue error;
        QJsonObject answer;
        int status = 0;
        QByteArray body;     // HTTP status body, or the raw answer
        int delayMs = 0;
        int where = 0;       // Drop: where the connection is closed
        bool omit = false;   // SignWrongly: no signature at all
        QString gate;        // Gate: where the answer waits; StoreLate: where the call waits
        int seconds = 0;     // FloodCheck: the forum's interval between posts
    };

    void add(const Rule& rule);
    // The first rule of the kind that matches, counted as used once.
    std::optional<Rule> take(Kind kind, const QString& target);
    void clear() { m_rules.clear(); }

private:
    QList<Rule> m_rules;
};

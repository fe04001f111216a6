#pragma once

#include "TestForumUpload.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

// What the test forum saw of one HTTP request, and what it answered.
struct TestForumRequest {
    QString apiMethod;        // decoded "api_m"; empty for pictures and the raw routes
    QString httpMethod;       // "GET", "POST"
    QString path;             // without the query
    QByteArray rawQuery;      // exactly as it arrived, still percent-encoded
    QMap<QString, QString> queryFields;  // decoded query pairs (a later key wins)
    QList<QPair<QString, QString>> queryPairs;  // decoded query pairs in their order
    QList<QPair<QString, QString>> formPairs;  // decoded body fields (form: in body order)
    QMap<QString, QString> fields;  // query and body fields together; the body wins
    QList<TestForumUpload> uploads;  // file parts of a multipart body
    QByteArray body;  // the body exactly as it arrived (a multipart body too)
    QMap<QString, QString> headers;  // names in lower case
    bool hasSignature = false;       // the query carried "api_sig"
    bool signatureValid = false;     // ... and it matched
    QString token;                   // "api_s" as sent; empty without a session
    QString clientId;                // "api_c" as sent
    int memberId = 0;                // the member signed in on the token when it came

    int status = 0;          // 0 until answered; -1 when the connection was dropped
    QByteArray answer;       // the body that was sent back
    bool truncated = false;  // the log cut the body, an upload or the answer short
    qint64 elapsedMs = 0;    // from arrival to the answer

    QString header(const QString& name) const { return headers.value(name.toLower()); }
    QString field(const QString& name) const { return fields.value(name); }
    // Every value of a field that may repeat ("type[]" and the like), in body order.
    QList<QString> fieldValues(const QString& name) const
    {
        QList<QString> values;
        for (const auto* pairs : {&queryPairs, &formPairs}) {
            for (const auto& [key, value] : *pairs) {
                if (key == name)
                    values.append(value);
            }
        }
        return values;
    }
};

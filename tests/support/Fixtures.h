#pragma once

#include "Answers.h"

#include <QByteArray>
#include <QFile>
#include <QString>

// Captured-style answers kept as files beside the tests that read them
// ("app/session/fixtures/register.json", relative to tests/).
inline QByteArray fixtureBytes(const QString& relativePath)
{
    QFile file(QStringLiteral(MU_TESTS_DIR "/") + relativePath);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

inline Value fixture(const QString& relativePath)
{
    return JSONValue(QString::fromUtf8(fixtureBytes(relativePath)));
}

// A request answered with the fixture's body, judged as a forum answer.
inline HTTPRequestPtr fixtureRequest(const QString& relativePath)
{
    return answeredRequest(fixtureBytes(relativePath).constData());
}

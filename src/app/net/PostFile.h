#pragma once

#include <QByteArray>
#include <QString>

// A file of a multipart body.
struct PostFile {
    QString parameterName;
    QString fileName;
    QByteArray fileData;
    QString contentType;
};

#pragma once

#include <QByteArray>
#include <QString>

// One file part of a multipart body that reached the test forum.
struct TestForumUpload {
    QString parameterName;
    QString fileName;
    QString contentType;
    QByteArray data;
};

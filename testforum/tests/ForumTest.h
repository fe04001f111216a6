#pragma once

#include "ForumClient.h"
#include "TestForum.h"

#include <QJsonArray>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <memory>

// A started forum with the seed beside it, and clients signed in as its members.
class ForumTest : public ::testing::Test {
public:
    // The forum writes a list of one as its element and an empty list as null.
    static QJsonArray list(const QJsonValue& value)
    {
        if (value.isArray())
            return value.toArray();
        return value.isObject() ? QJsonArray{value} : QJsonArray{};
    }

protected:
    void SetUp() override { ASSERT_TRUE(forum.start()) << forum.seedProblem().toStdString(); }

    // A client with its own session, signed in when a name is given.
    std::unique_ptr<ForumClient> client(const QString& username = {}, const QString& password = {})
    {
        auto made = std::make_unique<ForumClient>(forum.baseUrl());
        made->adopt(made->call(QStringLiteral("api_init"), "clientname=test").json());
        if (!username.isEmpty()) {
            EXPECT_TRUE(made->signIn(username, password)) << username.toStdString();
        }
        return made;
    }

    static QString code(const ForumReply& reply)
    {
        const QJsonValue code = reply.response().value(QStringLiteral("errormessage"));
        return code.isArray() ? code.toArray().first().toString() : code.toString();
    }

    static QByteArray form(const QList<QPair<QString, QString>>& pairs) { return formBody(pairs); }

    TestForum forum;
};

inline QString s(const char* text)
{
    return QString::fromUtf8(text);
}

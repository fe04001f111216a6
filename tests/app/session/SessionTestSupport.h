#pragma once

#include "TestForum.h"
#include "app/model/ModelObserver.h"
#include "app/session/CurrentUser.h"

#include <QList>
#include <QStringList>

#include <gtest/gtest.h>

#include <ostream>

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '(' << list.join(QStringLiteral(", ")).toStdString() << ')';
}

// Counts what a model tells it, and takes failures itself.
class SessionObserver : public ModelObserver {
public:
    void modelHasChanged(Model*) override { ++changes; }
    bool modelHasFailedToUpdate(Model*, const Error& error) override
    {
        failures.append(error.domain());
        return true;
    }

    int changes = 0;
    QStringList failures;
};

// The loopback forum, the bundle pointed at it, and a fresh current user.
class SessionTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Signs the member in and waits until the forum has accepted it.
    CurrentUserPtr signIn(const QString& username, const QString& password);
    // Opens a guest session and waits for it.
    CurrentUserPtr openGuestSession();
    // Waits until no request is in flight.
    bool settle();
    // The API methods the forum received, in order.
    QStringList apiLog() const;
    // The last request of the method the forum received (an empty one when none).
    TestForumRequest lastRequest(const QString& apiMethod) const;
    // The error table's text of a code.
    static QString tableText(const QString& code);

    TestForum forum;
};

#include "platform/foundation/Log.h"

#include <QLoggingCategory>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

QStringList handled;

void keepMessage(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    handled.append(QString::fromUtf8(context.category) + QStringLiteral(": ") + message);
}

}  // namespace

// A user's run says nothing; a rule turns on one concern's lines, which reach
// Qt's message handler under the concern's name.
TEST(LogTest, ACategoryIsSilentByDefaultAndSpeaksWhenItsRuleTurnsItOn)
{
    // As a run without rules (the tests' main turns every category on).
    QLoggingCategory::setFilterRules(QString());
    const QtMessageHandler previous = qInstallMessageHandler(keepMessage);
    handled.clear();
    Log::clearRecent();
    int built = 0;
    const auto message = [&built] {
        ++built;
        return QStringLiteral("asked for 7 threads");
    };

    for (const QLoggingCategory* category :
         {&Log::network(), &Log::session(), &Log::model(), &Log::store(), &Log::screens(), &Log::platform()}) {
        EXPECT_FALSE(category->isDebugEnabled()) << category->categoryName();
        EXPECT_TRUE(QString::fromUtf8(category->categoryName()).startsWith(QStringLiteral("mu.")));
    }
    MU_LOG(Log::network, message());
    MU_LOG(Log::store, message());
    EXPECT_TRUE(handled.isEmpty());
    EXPECT_TRUE(Log::recent().isEmpty());
    EXPECT_EQ(built, 0) << "a quiet category still built its message";

    QLoggingCategory::setFilterRules(QStringLiteral("mu.network.debug=true"));
    MU_LOG(Log::network, message());
    MU_LOG(Log::store, message());
    EXPECT_EQ(built, 1);
    ASSERT_EQ(handled.size(), 1);
    EXPECT_TRUE(handled.first().startsWith(QStringLiteral("mu.network: ")));
    EXPECT_TRUE(handled.first().contains(QStringLiteral(" [Line ")));
    EXPECT_TRUE(handled.first().endsWith(QStringLiteral("] asked for 7 threads")));
    ASSERT_EQ(Log::recent().size(), 1);
    EXPECT_TRUE(handled.first().endsWith(Log::recent().first()));

    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QStringLiteral("mu.*.debug=true"));
}

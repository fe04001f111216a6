#include "Log.h"

#include <QStringList>

#include <cstdio>

namespace {
QStringList& recentLines()
{
    static QStringList lines;
    return lines;
}
[[maybe_unused]] constexpr int kRecentLimit = 200;

[[maybe_unused]] void remember(const QString& line)
{
    QStringList& lines = recentLines();
    lines.append(line);
    if (lines.size() > kRecentLimit)
        lines.removeFirst();
}
}  // namespace

namespace Log {

// Debug lines are off unless a rule turns them on.
Q_LOGGING_CATEGORY(network, "mu.network", QtInfoMsg)
Q_LOGGING_CATEGORY(session, "mu.session", QtInfoMsg)
Q_LOGGING_CATEGORY(model, "mu.model", QtInfoMsg)
Q_LOGGING_CATEGORY(store, "mu.store", QtInfoMsg)
Q_LOGGING_CATEGORY(screens, "mu.screens", QtInfoMsg)
Q_LOGGING_CATEGORY(platform, "mu.platform", QtInfoMsg)

void write(const QString& line)
{
#ifdef MU_QUIET_LOG
    // Fuzz builds: a line per refused input would slow the fuzzers to a crawl.
    Q_UNUSED(line);
#else
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
    remember(line);
#endif
}

void write(const QLoggingCategory& category, const QString& line)
{
#ifdef MU_QUIET_LOG
    Q_UNUSED(category);
    Q_UNUSED(line);
#else
    QMessageLogger(nullptr, 0, nullptr, category.categoryName()).debug().noquote() << line;
    remember(line);
#endif
}

QString prefixed(const char* function, int line, const QString& message)
{
    return QString::fromUtf8(function) + QStringLiteral(" [Line ") + QString::number(line) + QStringLiteral("] ")
           + message;
}

QStringList recent()
{
    return recentLines();
}

void clearRecent()
{
    recentLines().clear();
}

}  // namespace Log

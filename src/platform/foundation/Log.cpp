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
}  // namespace

namespace Log {

void write(const QString& line)
{
#ifdef MU_QUIET_LOG
    // Fuzz builds: a line per refused input would slow the fuzzers to a crawl.
    Q_UNUSED(line);
#else
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
    QStringList& lines = recentLines();
    lines.append(line);
    if (lines.size() > kRecentLimit)
        lines.removeFirst();
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

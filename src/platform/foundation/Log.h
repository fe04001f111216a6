#pragma once

#include <QString>

// Diagnostic lines in the application's own format: the function's name and the
// source line before the message, as in "%s [Line %d] message".
namespace Log {
// Writes one line to the diagnostic log (standard error).
void write(const QString& line);
// "function [Line n] message".
QString prefixed(const char* function, int line, const QString& message);
// Lines written so far in this process (the last ones), for tests.
QStringList recent();
void clearRecent();
}  // namespace Log

#ifdef MU_QUIET_LOG
// Fuzz builds: the message is still compiled, never built nor written.
#define MU_LOG(message)                                                       \
    do {                                                                      \
        if (false)                                                            \
            Log::write(Log::prefixed(Q_FUNC_INFO, __LINE__, (message)));      \
    } while (false)
#else
#define MU_LOG(message) Log::write(Log::prefixed(Q_FUNC_INFO, __LINE__, (message)))
#endif

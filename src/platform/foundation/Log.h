#pragma once

#include <QLoggingCategory>
#include <QString>

// Diagnostic lines in the application's own format: the function's name and the
// source line before the message, as in "%s [Line %d] message".
//
// Each line belongs to a concern's category, quiet unless a rule turns its
// debug lines on (QT_LOGGING_RULES="mu.network.debug=true"): a user's run
// says nothing, and whoever chases a fault hears only the concern at hand.
namespace Log {
// Forum calls: addresses, signatures, verdicts, the JSON and XML codecs.
Q_DECLARE_LOGGING_CATEGORY(network)
// The member: sessions, the stored user, pictures to upload.
Q_DECLARE_LOGGING_CATEGORY(session)
// Models and builders.
Q_DECLARE_LOGGING_CATEGORY(model)
// The local store.
Q_DECLARE_LOGGING_CATEGORY(store)
// Screens and what they draw.
Q_DECLARE_LOGGING_CATEGORY(screens)
// The bundle's resources and the settings file.
Q_DECLARE_LOGGING_CATEGORY(platform)

// Writes one line to the diagnostic log (standard error), whatever the rules.
void write(const QString& line);
// Writes one line of a category (through Qt's message handler).
void write(const QLoggingCategory& category, const QString& line);
// "function [Line n] message".
QString prefixed(const char* function, int line, const QString& message);
// Lines written so far in this process (the last ones), for tests.
QStringList recent();
void clearRecent();
}  // namespace Log

#ifdef MU_QUIET_LOG
// Fuzz builds: the message is still compiled, never built nor written.
#define MU_LOG(category, message)                                                        \
    do {                                                                                 \
        if (false)                                                                       \
            Log::write(category(), Log::prefixed(Q_FUNC_INFO, __LINE__, (message)));     \
    } while (false)
#else
// The message is built only when the category speaks.
#define MU_LOG(category, message)                                                        \
    do {                                                                                 \
        if (category().isDebugEnabled())                                                 \
            Log::write(category(), Log::prefixed(Q_FUNC_INFO, __LINE__, (message)));     \
    } while (false)
#endif

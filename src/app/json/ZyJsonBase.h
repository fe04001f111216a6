#pragma once

#include "platform/foundation/Error.h"

#include <QList>
#include <QString>

// What the JSON parser and writer share: the trace of errors of the last call
// and the nesting limit.
class ZyJsonBase {
public:
    enum ErrorCode : int {
        ErrorUnsupported = 1,
        ErrorNumber = 2,
        ErrorParse = 3,
        ErrorFragment = 4,
        ErrorControlCharacter = 5,
        ErrorUnicode = 6,
        ErrorDepth = 7,
        ErrorEscape = 8,
        ErrorTrailingComma = 9,
        ErrorTrailingGarbage = 10,
        ErrorEndOfInput = 11,
        ErrorInput = 12,
    };

    // Nesting never goes deeper than this, whatever maxDepth says, so hostile
    // input cannot exhaust the stack of the recursive reader and writer.
    static constexpr quint32 hardDepthLimit = 2048;

    virtual ~ZyJsonBase() = default;

    static QString errorDomain();

    // Oldest first; each error's underlying error is the one before it, so the
    // last error is the most general and its chain leads to the first cause.
    const QList<Error>& errorTrace() const { return m_errorTrace; }
    void clearErrorTrace();
    void addErrorWithCode(int code, const QString& description);

    // 0 means no limit of the caller's own (hardDepthLimit still holds).
    virtual quint32 maxDepth() const { return m_maxDepth; }
    virtual void setMaxDepth(quint32 maxDepth) { m_maxDepth = maxDepth; }
    quint32 depth() const { return m_depth; }

protected:
    // One level deeper; adds "Nested too deep" and answers false beyond the limit.
    bool enterLevel();
    void leaveLevel() { --m_depth; }
    void resetDepth() { m_depth = 0; }
    void setErrorTrace(const QList<Error>& trace) { m_errorTrace = trace; }

private:
    QList<Error> m_errorTrace;
    quint32 m_maxDepth = 512;
    quint32 m_depth = 0;
};

#pragma once

#include <QString>

#include <stdexcept>

// An exception with a name and a reason, for the few broken invariants that
// leave nothing sound to do (an invalid argument from a caller's own code).
class NamedException : public std::runtime_error {
public:
    NamedException(const QString& name, const QString& reason)
        : std::runtime_error((name + QStringLiteral(": ") + reason).toStdString()), m_name(name), m_reason(reason)
    {
    }

    const QString& name() const { return m_name; }
    const QString& reason() const { return m_reason; }

private:
    QString m_name;
    QString m_reason;
};

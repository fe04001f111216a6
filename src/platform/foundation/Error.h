#pragma once

#include <QString>

#include <memory>

// An error value as the platform passes them around: a domain, a code, a
// description and the error that caused it. The application's own failures
// that reach the user carry the text to show as the domain and code 1.
class Error {
public:
    Error() = default;
    Error(const QString& domain, int code, const QString& description = QString(),
          std::shared_ptr<const Error> underlying = nullptr)
        : m_domain(domain), m_code(code), m_description(description), m_underlying(std::move(underlying))
    {
    }

    // The error the application shows: the text as domain, code 1.
    static Error withMessage(const QString& text) { return Error(text, 1); }

    bool isSet() const { return !m_domain.isNull(); }
    const QString& domain() const { return m_domain; }
    int code() const { return m_code; }
    const QString& description() const { return m_description; }
    const std::shared_ptr<const Error>& underlying() const { return m_underlying; }

    bool operator==(const Error& other) const
    {
        return m_domain == other.m_domain && m_code == other.m_code && m_description == other.m_description;
    }

private:
    QString m_domain;
    int m_code = 0;
    QString m_description;
    std::shared_ptr<const Error> m_underlying;
};

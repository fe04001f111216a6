#pragma once

#include <QString>

#include <memory>

// An error value as the platform passes them around: a domain, a code, a
// description and the error that caused it. The application's own failures
// that reach the user carry the text to show as the domain and code 1, and
// beside it what kind of failure it is and the forum's code when the forum
// gave one: the text is for the user, the kind and the code for the program
// (a translation may give two codes the same text).
class Error {
public:
    enum class Kind {
        // The application's own failure, or the platform's.
        Local,
        // No answer came at all.
        NoAnswer,
        // An answer came that cannot be used (an error status, a bad
        // signature, a body cut short or no JSON).
        BadAnswer,
        // The forum refused with a code (see forumCode()).
        Refused,
        // The session could not be had again.
        SessionEnded,
    };

    Error() = default;
    Error(const QString& domain, int code, const QString& description = QString(),
          std::shared_ptr<const Error> underlying = nullptr)
        : m_domain(domain), m_code(code), m_description(description), m_underlying(std::move(underlying))
    {
    }

    // The error the application shows: the text as domain, code 1.
    static Error withMessage(const QString& text) { return Error(text, 1); }
    // A failure the application shows, of a kind, with the forum's code.
    static Error failure(Kind kind, const QString& text, const QString& forumCode = QString())
    {
        Error error(text, 1);
        error.m_kind = kind;
        error.m_forumCode = forumCode;
        return error;
    }

    // The same failure, caused by another.
    Error causedBy(std::shared_ptr<const Error> underlying) const
    {
        Error error = *this;
        error.m_underlying = std::move(underlying);
        return error;
    }

    bool isSet() const { return !m_domain.isNull(); }
    const QString& domain() const { return m_domain; }
    int code() const { return m_code; }
    const QString& description() const { return m_description; }
    const std::shared_ptr<const Error>& underlying() const { return m_underlying; }
    Kind kind() const { return m_kind; }
    // The code the forum refused with ("searchnoresults"); null for a
    // failure the forum did not name.
    const QString& forumCode() const { return m_forumCode; }
    bool isCode(const QString& code) const { return !m_forumCode.isNull() && m_forumCode == code; }

    // The same error as it is reported: the kind and the forum's code are
    // not compared.
    bool operator==(const Error& other) const
    {
        return m_domain == other.m_domain && m_code == other.m_code && m_description == other.m_description;
    }

private:
    QString m_domain;
    int m_code = 0;
    QString m_description;
    std::shared_ptr<const Error> m_underlying;
    Kind m_kind = Kind::Local;
    QString m_forumCode;
};

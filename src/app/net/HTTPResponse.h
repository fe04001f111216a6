#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

// The head of an HTTP response.
class HTTPResponse {
public:
    HTTPResponse() = default;
    HTTPResponse(int statusCode, QList<std::pair<QByteArray, QByteArray>> headers)
        : m_statusCode(statusCode), m_headers(std::move(headers))
    {
    }

    int statusCode() const { return m_statusCode; }
    const QList<std::pair<QByteArray, QByteArray>>& headers() const { return m_headers; }
    // The value of a header, looked up ignoring letter case; null when absent.
    QString headerValue(const QString& name) const;

private:
    int m_statusCode = 0;
    QList<std::pair<QByteArray, QByteArray>> m_headers;
};

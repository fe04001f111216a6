#pragma once

#include "app/net/SessionCredentials.h"
#include "platform/foundation/Value.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

// The addresses of the forum's API and of its pictures, and the signatures
// of requests and answers, made from the bundle's base address
// ("ZtServerBaseUrl"), the current session's credentials and the forum API
// key built into the application.
class ApiAddress {
public:
    // The API version every address names ("api_v").
    static constexpr int ApiVersion = 6;
    // The forum API key this application is built with.
    static QString apiKey();

    // The forum's base address, without a trailing slash.
    static QString baseAddress();

    // Image addresses: "base/path", or the path itself when it is already an
    // http or https address (the scheme in any letter case).
    static QString imageURLStringWithString(const QString& path);
    static QUrl imageURLWithString(const QString& path);

    // API addresses: "base/api.php?" and the signed query of the current
    // session; without a session always the session opening "api_init".
    static QUrl URLWithString(const QString& method);
    static QUrl URLWithString(const QString& method, const ValueDict& parameters);
    static QString URLTextWithString(const QString& method, const ValueDict& parameters);
    // MD5 over the sorted, encoded parameters with "api_m", then the user's
    // token, client id, secret and the API key.
    static QString getServerRequestSignature(const QString& method, const ValueDict& parameters,
                                             const SessionCredentials* user);
    // The signature the forum's "Authorization" header must carry for this
    // body; null when there is no session token, and null for a body that is
    // not valid UTF-8, so that such a body never passes as signed.
    static QString signatureForResponse(const QByteArray& body);
    // The same call addressed again with the current session's values.
    static QUrl URLwithCurrentAccessTokenForURL(const QUrl& url);
    // The "api_s" value of the address: null when absent, "" when empty.
    static QString extractApiAccessTokenFromURL(const QUrl& url);
    // Spaces become "+", then everything but letters, digits and
    // ! $ & ' ( ) * + , - . / : ; = ? @ _ ~ is percent-encoded as UTF-8.
    static QString encodeString(const QString& text);
    // A parameter's form in the address: encodeString's, but with "&", "="
    // and a "+" of the text itself escaped ("%26", "%3D", "%2B"), so that a
    // forum that decodes the query reads the text as it was. A space stays
    // "+". The signature keeps encodeString's form.
    static QString addressEncodeString(const QString& text);
    // The address with the token and the signature left out, for the log.
    static QString redactedForLog(const QString& url);
    // Appends "key=value", after "&" unless the text is empty; nothing is encoded.
    static void appendParameterToString(QString& text, const QString& key, const QString& value);
};

#pragma once

#include "platform/foundation/Value.h"

#include <QDateTime>
#include <QString>
#include <QTimeZone>

#include <optional>

// Dates made from plain values.
namespace DateExtensions {
// A date stays as it is; a number or a text counts whole seconds from now;
// nothing or null gives no date. Any other kind is a caller's mistake and
// throws NamedException "Invalid date".
std::optional<QDateTime> createWithObject(const Value& value);

// The zone the forum's local date texts are read in: the device's own unless
// overridden (tests pin it; nullopt restores the device's).
QTimeZone deviceTimeZone();
void setDeviceTimeZone(const std::optional<QTimeZone>& zone);

// The server's split pair "MM-dd-yyyy" and "hh:mm a" (the time in any case),
// read in the device's zone. A null date or time text gives no date.
std::optional<QDateTime> dateWithDateString(const QString& date, const QString& time);

// An HTTP date in any of its three forms (RFC 1123, RFC 850, asctime).
std::optional<QDateTime> dateFromRFC1123(const QString& text);
// "Sun, 06 Nov 1994 08:49:37 GMT"; a null text for an invalid date.
QString rfc1123String(const QDateTime& date);
}  // namespace DateExtensions

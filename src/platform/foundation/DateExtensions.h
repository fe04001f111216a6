#pragma once

#include "platform/foundation/Value.h"

#include <QDateTime>

#include <optional>

// Dates made from plain values.
namespace DateExtensions {
// A date stays as it is; a number or a text counts whole seconds from now;
// nothing or null gives no date. Any other kind is a caller's mistake and
// throws NamedException "Invalid date".
std::optional<QDateTime> createWithObject(const Value& value);
}  // namespace DateExtensions

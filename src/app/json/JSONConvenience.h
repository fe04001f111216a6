#pragma once

#include "platform/foundation/Value.h"

// One-call reading and writing, each with a fresh parser or writer at default
// settings.

// A dictionary or list, or nothing on any error.
Value JSONValue(const QString& text);
// The same from UTF-8 bytes, such as an answer's body, read as they are.
Value JSONValue(const QByteArray& utf8);
// Any value, or nothing on any error.
Value JSONFragmentValue(const QString& text);
Value JSONFragmentValue(const QByteArray& utf8);
// Text for a dictionary or list, or a null QString.
QString JSONRepresentation(const Value& value);
// Text for any value, or a null QString.
QString JSONFragment(const Value& value);

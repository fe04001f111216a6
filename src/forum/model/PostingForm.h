#pragma once

#include "platform/foundation/Value.h"

#include <QString>

// What every posting form sends the same way.
namespace PostingForm {
// A title or text that is not set goes as the empty text.
QString text(const QString& value);
// "loggedinuser" "0", "wysiwyg" "0", "signature" "1".
void addFixedFields(ValueDict& params);
// The first element of a list of codes, a code as it is.
Value firstCode(const Value& code);
// Whether a text the forum keeps is the one that was sent: alike but for the
// line endings and the white space at either end, which the forum may change.
bool sameText(const QString& sent, const QString& kept);
}  // namespace PostingForm

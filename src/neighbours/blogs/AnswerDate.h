#pragma once

#include "platform/foundation/Value.h"

#include <QDateTime>

// The dates of the blog and article answers: whole seconds since 1970 (a
// number or its text). Anything else is no date.
namespace AnswerDate {
QDateTime fromSeconds(const Value& seconds);
}  // namespace AnswerDate

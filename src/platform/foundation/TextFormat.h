#pragma once

#include "platform/foundation/Value.h"

#include <QList>
#include <QString>

// Fills a format such as a string-table text without printf: a text from a
// resource can never read memory it was not given.
namespace TextFormat {
// "%@" takes the next argument's text (nothing or null fill as the empty
// text), "%d" the next argument's integer, "%%" is a percent sign. Other
// sequences stay as they are; missing arguments fill as empty.
QString fill(const QString& format, const QList<Value>& args);
}  // namespace TextFormat

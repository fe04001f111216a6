#pragma once

#include <QString>

// The English text of a key of the application's string table; a key
// without a text shows as itself. Screens and models name their texts by
// key, so this is the one way they read them.
QString localized(const QString& key);
// The same for a key written in the code (plain ASCII).
QString localized(const char* key);

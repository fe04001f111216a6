#pragma once

#include "platform/foundation/Image.h"
#include "platform/foundation/Value.h"

#include <QString>

// The emoticons the text editor offers: emoticon text -> picture file name,
// from the bundle's "emoticons.plist" in the file's order. The pictures live
// in the bundle's "emoticons" folder.
class Smiles {
public:
    // The shared table, read from the bundle on first use.
    static Smiles& getInstance();

    // A table read from the given property list (lazily, once).
    explicit Smiles(const QString& tablePath);

    // Empty when the file is missing or unreadable; entries whose file name
    // is not a text are left out.
    const ValueDict& smiles();
    // The picture of an emoticon text, or a null image when the text is no
    // emoticon or its picture is missing.
    Image imageForText(const QString& text);

private:
    QString m_tablePath;
    bool m_loaded = false;
    ValueDict m_smiles;
};

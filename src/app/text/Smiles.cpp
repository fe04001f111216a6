#include "app/text/Smiles.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"

Smiles& Smiles::getInstance()
{
    static Smiles instance(Bundle::main().pathForResource(QStringLiteral("emoticons.plist")));
    return instance;
}

Smiles::Smiles(const QString& tablePath)
    : m_tablePath(tablePath)
{
}

const ValueDict& Smiles::smiles()
{
    if (m_loaded)
        return m_smiles;
    m_loaded = true;
    if (m_tablePath.isEmpty()) {
        MU_LOG(Log::screens, QStringLiteral("No emoticon table"));
        return m_smiles;
    }
    bool ok = false;
    const Value table = PropertyList::readFile(m_tablePath, &ok);
    if (!ok || !table.isDict()) {
        MU_LOG(Log::screens, QStringLiteral("The emoticon table %1 could not be read").arg(m_tablePath));
        return m_smiles;
    }
    for (const auto& [text, fileName] : table.dict()) {
        if (fileName.isString() && !fileName.string().isEmpty())
            m_smiles.insert(text, fileName);
    }
    return m_smiles;
}

Image Smiles::imageForText(const QString& text)
{
    const Value fileName = smiles().value(text);
    if (!fileName.isString())
        return Image();
    const QString path = Bundle::main().pathForResource(QStringLiteral("emoticons/") + fileName.string());
    if (path.isNull()) {
        MU_LOG(Log::screens, QStringLiteral("No picture %1 for the emoticon %2").arg(fileName.string(), text));
        return Image();
    }
    return Image::fromFile(path);
}

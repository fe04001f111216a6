#include "app/json/ZyJsonBase.h"

#include <algorithm>
#include <memory>

QString ZyJsonBase::errorDomain()
{
    return QStringLiteral("org.muforum.json");
}

void ZyJsonBase::clearErrorTrace()
{
    m_errorTrace.clear();
}

void ZyJsonBase::addErrorWithCode(int code, const QString& description)
{
    std::shared_ptr<const Error> underlying;
    if (!m_errorTrace.isEmpty())
        underlying = std::make_shared<const Error>(m_errorTrace.last());
    m_errorTrace.append(Error(errorDomain(), code, description, std::move(underlying)));
}

bool ZyJsonBase::enterLevel()
{
    const quint32 limit = m_maxDepth ? std::min(m_maxDepth, hardDepthLimit) : hardDepthLimit;
    if (++m_depth > limit) {
        addErrorWithCode(ErrorDepth, QStringLiteral("Nested too deep"));
        return false;
    }
    return true;
}

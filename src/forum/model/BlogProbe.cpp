#include "forum/model/BlogProbe.h"

void BlogProbe::send()
{
    requestURL(kMethod, ValueDict(), RequestMethod::GET, SELECTOR(BlogProbe, answer));
}

void BlogProbe::answer(const HTTPRequestPtr& request)
{
    const auto guard = keepAlive();
    removeRequest(request);
    if (!request || !request->outcome().is(RequestOutcome::Kind::Ok))
        return;
    const Value json = request->response();
    const Value smiliebox = json[u"show"][u"smiliebox"];
    m_showsEmoticons = smiliebox.isAbsent() ? std::nullopt : std::optional<bool>(smiliebox.toInt() != 0);
    m_allowsBlogEntries = json[u"response"].isDict() && json[u"response"].dict().contains(QStringLiteral("content"));
    m_answered = true;
    notifyChanged();
}

#include "forum/model/SearchPost.h"

#include "forum/model/Post.h"
#include "forum/model/SearchRows.h"
#include "forum/model/Thread.h"

ValueDict SearchPost::searchParameters(const QString& text) const
{
    ValueDict params = Search::searchParameters(text);
    const std::shared_ptr<Thread> searched = m_thread.lock();
    params.insert(QStringLiteral("showposts"), Value(QStringLiteral("1")));
    params.insert(QStringLiteral("contenttypeid"), Value(QStringLiteral("1")));
    params.insert(QStringLiteral("searchthreadid"), Value(QString::number(searched ? searched->threadid() : 0)));
    return params;
}

void SearchPost::setResponse(const Value& rows)
{
    const std::shared_ptr<Thread> searched = m_thread.lock();
    Page page;
    for (const Value& row : SearchRows::elements(rows)) {
        if (!row.isDict())
            continue;
        auto post = Model::create<Post>();
        post->setThread(searched);
        post->setPostbit_type(row[u"postbit_type"]);
        const Value avatar = row[u"avatar"][u"0"];
        if (avatar.isString())
            post->setAvatarurl(avatar);
        post->setDictionary(row[u"post"].isDict() ? row[u"post"] : Value());
        page.append(post);
    }
    storePage(page);
}

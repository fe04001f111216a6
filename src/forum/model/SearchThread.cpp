#include "forum/model/SearchThread.h"

#include "forum/model/Forum.h"
#include "forum/model/SearchRows.h"
#include "forum/model/Thread.h"

ValueDict SearchThread::searchParameters(const QString& text) const
{
    ValueDict params = Search::searchParameters(text);
    const std::shared_ptr<Forum> searched = m_forum.lock();
    params.insert(QStringLiteral("contenttypeid"), Value(QStringLiteral("1")));
    params.insert(QStringLiteral("forumchoice[]"), Value(QString::number(searched ? searched->forumid() : 0)));
    return params;
}

void SearchThread::setResponse(const Value& rows)
{
    Page page;
    for (const Value& row : SearchRows::elements(rows)) {
        if (row.isDict())
            page.append(Model::createWithDictionary<Thread>(row));
    }
    storePage(page);
}

#pragma once

#include "app/net/HTTPRequest.h"
#include "platform/foundation/Trackable.h"

#include <QList>

#include <functional>
#include <memory>

class Forum;

// Copies threads into a forum one after the other ("postings_docopythread"),
// never two at once, and stops at the first that fails. It lives as long as
// its request in flight: nobody needs to hold it.
class CopyThreadsRequestHelper : public Trackable {
public:
    // Each gets the last request: on success its extra info is the list
    // (target forum id, source forum id); on failure its error's domain is
    // "Error copying <n>/<total> threads.\n<message>".
    using Callback = std::function<void(const HTTPRequestPtr& request)>;

    // Makes a copier and sends the first copy; returns it (a weak hold is
    // enough to watch it: it ends with its last reply).
    static std::shared_ptr<CopyThreadsRequestHelper> copyThreads(const QList<qint32>& threadIds,
                                                                 const std::shared_ptr<Forum>& fromForum,
                                                                 const std::shared_ptr<Forum>& toForum,
                                                                 Callback onSuccess, Callback onFailure);

    void executeNextCopyRequest();
    void copyThreadFinished(const HTTPRequestPtr& request);

    const QList<qint32>& threadIds() const { return m_threadIds; }
    int nextThreadIndex() const { return m_nextThreadIndex; }
    const std::shared_ptr<Forum>& fromForum() const { return m_fromForum; }
    const std::shared_ptr<Forum>& toForum() const { return m_toForum; }

private:
    CopyThreadsRequestHelper() = default;
    void fail(const HTTPRequestPtr& request, const QString& message);

    std::weak_ptr<CopyThreadsRequestHelper> m_self;
    QList<qint32> m_threadIds;
    int m_nextThreadIndex = 0;
    std::shared_ptr<Forum> m_toForum;
    std::shared_ptr<Forum> m_fromForum;
    Callback m_onSuccess;
    Callback m_onFailure;
};

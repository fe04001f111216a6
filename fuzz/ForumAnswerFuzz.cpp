// Feeds arbitrary bytes, read as JSON, to the answer handlers of forums,
// threads and posts, as answers to their own calls and as list elements:
// no crash, no hang, whatever shape the answer has.
#include "app/json/JSONConvenience.h"
#include "forum/model/Forum.h"
#include "forum/model/Post.h"
#include "forum/model/Thread.h"
#include "platform/foundation/AlertView.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace {

HTTPRequestPtr answered(const Value& json)
{
    auto request = std::make_shared<HTTPRequest>();
    request->setHttpResponse(HTTPResponse(200, {}));
    request->setResponse(json);
    request->setOutcome(RequestOutcome::judgeAnswer(json, 200));
    return request;
}

void readEverything(const Forum& forum)
{
    for (const std::shared_ptr<Thread>& thread : forum.threadsOnPage(1))
        thread->isDeleted();
    for (const std::shared_ptr<Forum>& child : forum.children())
        child->retrieveForumAtIndexPath(1, 0);
}

void readEverything(const Post& post)
{
    post.message_nohtml();
    post.thumbnailattachments();
    post.quote();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Value json = JSONValue(QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    const HTTPRequestPtr request = answered(json);

    const auto forum = std::make_shared<Forum>();
    forum->setFromRequest(request);
    forum->setDictionary(json);
    forum->setDictionary(json[u"response"]);
    readEverything(*forum);

    const auto thread = std::make_shared<Thread>();
    thread->setForum(forum);
    thread->postResult(answered(json));
    thread->setDictionary(json);
    for (int page = 0; page < 3; ++page) {
        for (const std::shared_ptr<Post>& post : thread->postsOnPage(page))
            readEverything(*post);
    }

    const auto post = std::make_shared<Post>();
    post->setPostid(json[u"postid"].toInt());
    post->parseFromThread(answered(json));
    post->setDictionary(json);
    post->setApprovedAttachment(true);
    post->setApprovedAttachment(false);
    readEverything(*post);

    // A password prompt an answer asked for goes, as the user would close it.
    for (const std::shared_ptr<AlertView>& alert : AlertView::visibleAlerts())
        alert->dismissWithoutButton();
    return 0;
}

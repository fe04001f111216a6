// Feeds any JSON to the search and feed models as the forum's answer: to the
// search id, the result pages, the subscribed threads and the new and top
// feed, in every order and type. Nothing may crash or hang.
#include "app/json/JSONConvenience.h"
#include "app/media/ImageCache.h"
#include "app/net/ApiClient.h"
#include "app/net/HTTPRequest.h"
#include "app/session/AppContext.h"
#include "forum/model/NewTopSearch.h"
#include "forum/model/SearchAll.h"
#include "forum/model/SearchPost.h"
#include "forum/model/SearchThread.h"
#include "forum/model/Thread.h"
#include "neighbours/blogs/NeighbourBlogs.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/SystemClock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

class Listener : public SearchDelegate, public NewTopSearchDelegate {
public:
    void searchHasResults(Search*) override {}
    bool searchHasFailed(Search*, const Error&) override { return true; }
    void newTopHasResults(NewTopSearch*) override {}
    bool newTopHasResults(NewTopSearch*, const Error&) override { return true; }
};

HTTPRequestPtr answer(const Value& json, bool complete)
{
    auto request = std::make_shared<HTTPRequest>();
    request->setHttpResponse(HTTPResponse(complete ? 200 : 500, {}));
    request->setResponse(json);
    request->setOutcome(complete ? RequestOutcome::judgeAnswer(json, 200)
                                 : RequestOutcome(RequestOutcome::Kind::HttpError, 500));
    return request;
}

void feedSearch(Search& search, Listener& listener, const Value& json, bool complete)
{
    search.setDelegate(&listener);
    search.requestSearch(answer(json, complete));
    search.searchResults(answer(json, complete));
    search.setResponse(json);
    search.setResponse(json[u"response"][u"searchbits"]);
    search.errorMessageForResponse(*answer(json, complete));
    search.setSilentMode(true);
    search.searchResults(answer(json, complete));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Settings and caches go to a folder of this run's own.
    static QTemporaryDir home;
    qputenv("MU_HOME", home.path().toUtf8());
    static QCoreApplication application(*argc, *argv);
    // The parts the search models read (the forum's features), on a real clock.
    static AppContext context(std::make_shared<SystemClock>());
    // Pictures are asked of an address nothing answers; no event loop runs.
    Bundle::main().setInfoValue(QStringLiteral("ZtServerBaseUrl"), Value(QStringLiteral("http://127.0.0.1:9/forum")));
    NeighbourBlogs::registerContent();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const Value json = JSONValue(bytes);
    Listener listener;
    for (const bool complete : {true, false}) {
        const auto thread = Thread::initWithThreadid(7);
        const auto inThread = Model::create<SearchPost>();
        inThread->setThread(thread);
        feedSearch(*inThread, listener, json, complete);
        const auto inForum = Model::create<SearchThread>();
        feedSearch(*inForum, listener, json, complete);
        const auto general = std::make_shared<SearchAll>(AppContext::current());
        feedSearch(*general, listener, json, complete);
        general->setOrder(SearchAll::SubscribedOrder);
        general->subscribedResults(answer(json, complete));

        const auto feed = Model::create<NewTopSearch>();
        feed->setDelegate(&listener);
        feed->requestSearch(answer(json, complete));
        for (int order = -1; order <= 2; ++order) {
            feed->setSearchOrder(order);
            for (int type = -1; type <= 4; ++type)
                feed->setSearchType(type);
        }
    }
    // Whatever pictures were asked for go with their requests.
    ApiClient::current().cancelAll();
    ImageCache::clearRegistry();
    // No event loop runs: what was let go later is let go now.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}

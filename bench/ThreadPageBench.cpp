// The thread page's speed on the seeded big thread (50 posts, 10 a page),
// beside a plain Qt list of the same texts, in one run:
//   - first page: from the answer's bytes to a laid-out page: parse, fill the
//     thread's posts, measure every row and lay out the rows on screen;
//   - scrolling: the page from top to bottom and back, 20 points a frame,
//     each frame drawn.
//
//   cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMU_BENCH=ON
//   cmake --build build-bench --target thread_page_bench && build-bench/bench/thread_page_bench
#include "forum/cells/PostTextView.h"
#include "forum/model/Post.h"
#include "forum/model/Thread.h"
#include "forum/screens/PostController.h"

#include "app/json/ZyJsonParser.h"
#include "app/net/ApiClient.h"
#include "app/net/HTTPRequestAsyncronic.h"
#include "app/session/CurrentUser.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/ShadowedTableView.h"

#include "platform/ui/AlertPresenter.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/SystemClock.h"

#include "TestForum.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

bool waitUntil(const std::function<bool()>& done, int milliseconds = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// The median of repeated runs, in milliseconds.
double medianMs(int runs, const std::function<void()>& run)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("MU_HOME", home.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Clock::install(std::make_shared<SystemClock>());
    ApiClient::install(std::make_shared<ApiClient>());
    AlertPresenter::install();

    // The answer bytes of page 1, as the forum sends them to a guest.
    TestForum forum;
    if (!forum.start()) {
        std::fprintf(stderr, "thread_page_bench: the loopback forum did not start\n");
        return 1;
    }
    Bundle::main().setInfoValue(QStringLiteral("ZtServerBaseUrl"), Value(forum.baseUrl()));
    const CurrentUserPtr guest = CurrentUser::skipLogin();
    const auto idle = [] { return HTTPRequestAsyncronic::getPendingRequests() == 0; };
    waitUntil([&] { return !guest->apiaccesstoken().isEmpty(); });
    waitUntil(idle);

    // The real screen, in the phone window.
    Window window;
    window.makeKeyAndVisible();
    const ThreadPtr thread = Thread::initWithThreadid(1101);
    auto screen = std::make_shared<PostController>();
    screen->setThread(thread);
    window.setRootViewController(NavigationController::create(screen));
    waitUntil(idle);
    QCoreApplication::processEvents();
    if (forum.requests(QStringLiteral("showthread")).isEmpty()) {
        std::fprintf(stderr, "thread_page_bench: no page came\n");
        return 1;
    }
    const QByteArray bytes = forum.requests(QStringLiteral("showthread")).last().answer;
    ShadowedTableView* table = screen->postTable()->tableView();

    // Ours: parse and fill, then the answer's notice makes the table measure
    // every row (new post objects, so nothing cached) and lay out those on screen.
    Value response;
    const auto parse = [&] { response = ZyJsonParser().objectWithUTF8(bytes)[u"response"]; };
    const auto fill = [&] {
        PostTextView::forgetKeptLayouts();
        thread->pages().clear();
        thread->navs().clear();
        thread->pages().insert(ModelWithPages::pageKey(1), ModelWithPages::Page());
        thread->setPostbits(response[u"postbits"], 1);
    };
    const auto layOut = [&] {
        thread->setDictionary(response);
        table->setContentOffset(QPointF(0, 0));
        table->repaint();
    };
    const int runs = 41;
    const double parseMs = medianMs(runs, parse);
    const double fillMs = medianMs(runs, [&] { parse(); fill(); }) - parseMs;
    const double oursFirstPage = medianMs(runs, [&] { parse(); fill(); layOut(); });
    const int rows = table->numberOfRowsInSection(0);

    // Qt's own list of the same texts: parse with Qt's JSON, fill a word
    // wrapping list 320 wide, measure every row, draw the screen.
    QStringList texts;
    for (const ModelPtr& object : thread->pages().value(ModelWithPages::pageKey(1))) {
        if (const auto* post = dynamic_cast<const Post*>(object.get()))
            texts.append(post->user()->username() + QStringLiteral("\n") + post->message_bbcode());
    }
    QListWidget list;
    list.setWordWrap(true);
    list.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    list.setGeometry(0, 0, 320, 367);
    list.show();
    // Until its window is exposed a widget's repaint draws nothing: wait for
    // it, as for ours, so that both sides draw every frame they are timed on.
    waitUntil([&] { return list.windowHandle() && list.windowHandle()->isExposed(); });
    QCoreApplication::processEvents();
    const double qtFirstPage = medianMs(runs, [&] {
        const QJsonArray postbits =
            QJsonDocument::fromJson(bytes).object().value(QStringLiteral("response")).toObject().value(
                QStringLiteral("postbits")).toArray();
        QStringList shown;
        for (const QJsonValue& bit : postbits) {
            const QJsonObject post = bit.toObject().value(QStringLiteral("post")).toObject();
            shown.append(post.value(QStringLiteral("username")).toString() + QStringLiteral("\n")
                         + post.value(QStringLiteral("message_bbcode")).toString());
        }
        list.clear();
        list.addItems(shown);
        list.doItemsLayout();
        qreal total = 0;
        for (int i = 0; i < list.count(); ++i)
            total += list.visualItemRect(list.item(i)).height();
        (void)total;
        list.verticalScrollBar()->setValue(0);
        list.viewport()->repaint();
    });

    // Scrolling, 20 points a frame, down and back up, every frame drawn.
    const qint64 measuredBefore = screen->heights().measureCount();
    const qint64 layoutsBefore = PostTextView::layoutCount();
    int oursFrames = 0;
    const double oursScroll = medianMs(9, [&] {
        oursFrames = 0;
        const qreal bottom = std::max<qreal>(0, table->maximumContentOffset().y() - 60);
        for (qreal y = 0; y <= bottom; y += 20, ++oursFrames) {
            table->setContentOffset(QPointF(0, y));
            table->repaint();
        }
        for (qreal y = bottom; y >= 0; y -= 20, ++oursFrames) {
            table->setContentOffset(QPointF(0, y));
            table->repaint();
        }
    });
    const qint64 measuredInScroll = screen->heights().measureCount() - measuredBefore;
    const qint64 layoutsInScroll = PostTextView::layoutCount() - layoutsBefore;
    int qtFrames = 0;
    const double qtScroll = medianMs(9, [&] {
        qtFrames = 0;
        QScrollBar* bar = list.verticalScrollBar();
        for (int y = 0; y <= bar->maximum(); y += 20, ++qtFrames) {
            bar->setValue(y);
            list.viewport()->repaint();
        }
        for (int y = bar->maximum(); y >= 0; y -= 20, ++qtFrames) {
            bar->setValue(y);
            list.viewport()->repaint();
        }
    });

    std::printf("thread page, first page of thread 1101 (%d rows, %lld answer bytes), median of %d runs\n", rows,
                static_cast<long long>(bytes.size()), runs);
    std::printf("  ours:  parse %.2f ms + fill %.2f ms = %.2f ms (one 60 Hz frame: 16.67 ms)\n", parseMs, fillMs,
                parseMs + fillMs);
    std::printf("  ours:  bytes to laid-out page (parse, fill, measure every row, draw) %.2f ms\n", oursFirstPage);
    std::printf("  Qt list of the same texts (QJsonDocument, QListWidget, word wrap) %.2f ms\n", qtFirstPage);
    std::printf("scrolling top to bottom and back, 20 points a frame, every frame drawn\n");
    std::printf("  ours:  %.2f ms for %d frames (%.3f ms a frame)\n", oursScroll, oursFrames,
                oursFrames ? oursScroll / oursFrames : 0.0);
    std::printf("  Qt:    %.2f ms for %d frames (%.3f ms a frame)\n", qtScroll, qtFrames,
                qtFrames ? qtScroll / qtFrames : 0.0);
    std::printf("  ours while scrolling: %lld row heights measured, %lld text lay-outs (rows filled as they "
                "come into view, none per frame)\n",
                static_cast<long long>(measuredInScroll), static_cast<long long>(layoutsInScroll));

    window.setRootViewController(nullptr);
    screen.reset();
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    ApiClient::install(nullptr);
    return 0;
}

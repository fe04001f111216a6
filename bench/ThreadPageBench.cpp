// The thread page's speed on the seeded big thread (50 posts, 10 a page),
// beside two Qt lists of the same answer's texts, in one run:
//   - the careful list (CarefulList: each row laid out once with
//     QTextLayout, heights kept, only the rows in view drawn), the yardstick;
//   - QListWidget with word wrap, which lays every text out again on each
//     frame: kept for comparison, not the yardstick.
// What is timed:
//   - first page: from the answer's bytes to the drawn first page (parse,
//     fill, measure every row, lay out and draw the rows in view), for the
//     seeded page and for the same page whose first post holds 2,500, 10,000
//     and 20,000 characters of the thread's own texts (quotes, lists, emoji,
//     right-to-left and CJK text, long words);
//   - scrolling: top to bottom and back, 20 points a frame, each frame drawn
//     as the side's own scrolling asks: ours and QListWidget move the drawn
//     pixels and draw what comes into view, the careful list draws its whole
//     view again.
// The three sides take turns (their order rotates every repetition), are
// warmed the same way, and are timed only once their windows are exposed.
//
//   cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMU_BENCH=ON
//   cmake --build build-bench --target thread_page_bench && build-bench/bench/thread_page_bench
//
// With a display (DISPLAY set) it draws on X; without one, on Qt's offscreen
// platform. Options: --runs N (first pages, default 41), --scroll-runs N
// (sweeps, default 15), --warm N (default 3), --only ours|careful|qt (one
// side, for a profiler), --variants 0,2500,10000,20000,-20000 (0: the seeded
// page; -20000: the 20,000 characters in one block, without quoted blocks),
// --no-scroll, --careful-moves-pixels (the careful list scrolls as QListView
// does, moving its drawn pixels, rather than drawing its view again). For callgrind, the timed work runs in the functions named
// measured*: --collect-atstart=no --toggle-collect='measuredOursFirstPage*'.
#include "BenchSupport.h"

#include "CarefulList.h"

#include "forum/cells/PostTextView.h"
#include "forum/model/Post.h"
#include "forum/model/Thread.h"
#include "forum/screens/PostController.h"

#include "app/json/ZyJsonParser.h"
#include "app/net/HTTPRequestAsyncronic.h"
#include "app/session/AppContext.h"
#include "app/session/CurrentUser.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/ShadowedTableView.h"

#include "platform/ui/AlertPresenter.h"
#include "platform/ui/EmojiText.h"
#include "platform/ui/Font.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TextLayout.h"
#include "platform/ui/Window.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/SystemClock.h"

#include "TestForum.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWindow>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using BenchSupport::median;
using BenchSupport::waitUntil;

constexpr int kThread = 1101;
constexpr int kFirstPost = 5000;
constexpr int kPosts = 50;

bool exposed(QWidget* widget)
{
    return widget->windowHandle() && widget->windowHandle()->isExposed();
}

// A first post of about `length` characters (never more) made of the
// thread's own posts, whole, one after the other; the last one that does
// not fit gives its words without their tags, as many as fit. From the
// second round through the posts on, each text and each quoted text ends
// with the round's number: a long post repeats none of its parts, so no
// lay-out kept for one part serves another. Without `quotes`, what the
// quoted blocks said stays, on lines of its own, without their tags: the
// post is one text.
QString longText(const QStringList& posts, int length, bool quotes)
{
    static const QRegularExpression tag(QStringLiteral("\\[[^\\]]*\\]"));
    static const QRegularExpression quoteEnd(QStringLiteral("\\[/quote\\]"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression quoteTag(QStringLiteral("\\[/?quote[^\\]]*\\]"),
                                             QRegularExpression::CaseInsensitiveOption);
    QString text;
    for (qsizetype n = 0; text.size() < length; ++n) {
        const qsizetype round = n / posts.size();
        QString next = posts.at(n % posts.size());
        if (round > 0) {
            const QString mark = QStringLiteral(" (%1)").arg(round + 1);
            next.replace(quoteEnd, mark + QStringLiteral("[/QUOTE]"));
            next += mark;
        }
        if (!quotes)
            next.replace(quoteTag, QStringLiteral("\n"));
        const QString gap = text.isEmpty() ? QString() : QStringLiteral("\n\n");
        if (text.size() + gap.size() + next.size() <= length) {
            text += gap + next;
            continue;
        }
        next.remove(tag);
        const qsizetype room = length - text.size() - gap.size();
        const qsizetype cut = room > 0 ? next.lastIndexOf(u' ', room) : -1;
        if (cut > 0)
            text += gap + next.left(cut);
        break;
    }
    return text;
}

// The seed with a copy of the big thread for each length, its first post
// holding the long text; everything else as the big thread has it.
bool writeSeed(const QString& from, const QString& folder, const std::vector<std::pair<int, QString>>& copies)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QJsonObject seed = QJsonDocument::fromJson(in.readAll()).object();
    QJsonArray threads = seed.value(QStringLiteral("threads")).toArray();
    QJsonObject big;
    for (const QJsonValue& thread : threads) {
        if (thread.toObject().value(QStringLiteral("threadid")).toInt() == kThread)
            big = thread.toObject();
    }
    if (big.isEmpty())
        return false;
    for (size_t i = 0; i < copies.size(); ++i) {
        QJsonObject copy = big;
        copy.insert(QStringLiteral("threadid"), copies[i].first);
        copy.insert(QStringLiteral("first_postid"), 90000 + int(i) * 1000);
        QJsonArray posts = copy.value(QStringLiteral("posts")).toArray();
        QJsonObject first = posts.at(0).toObject();
        first.insert(QStringLiteral("text"), copies[i].second);
        posts.replace(0, first);
        copy.insert(QStringLiteral("posts"), posts);
        threads.append(copy);
    }
    seed.insert(QStringLiteral("threads"), threads);
    QFile out(folder + QStringLiteral("/seed.json"));
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(QJsonDocument(seed).toJson());
    out.close();
    // The seed's pictures and files, beside it.
    const QString source = QFileInfo(from).absolutePath();
    for (const QString& name : {QStringLiteral("images"), QStringLiteral("files")}) {
        if (QFileInfo::exists(source + u'/' + name))
            QFile::link(source + u'/' + name, folder + u'/' + name);
    }
    return true;
}

// The answer's posts as both Qt lists take them: author and BB-code.
QList<CarefulList::Entry> entriesOf(const QByteArray& bytes)
{
    const QJsonValue postbits =
        QJsonDocument::fromJson(bytes).object().value(QStringLiteral("response")).toObject().value(
            QStringLiteral("postbits"));
    const QJsonArray bits = postbits.isArray() ? postbits.toArray() : QJsonArray{postbits};
    QList<CarefulList::Entry> entries;
    entries.reserve(bits.size());
    for (const QJsonValue& bit : bits) {
        const QJsonObject post = bit.toObject().value(QStringLiteral("post")).toObject();
        entries.append({post.value(QStringLiteral("username")).toString(),
                        post.value(QStringLiteral("message_bbcode")).toString()});
    }
    return entries;
}

// Our screen on one thread, its page 1 loaded once from the forum.
struct Ours {
    std::shared_ptr<PostController> screen;
    ThreadPtr thread;
    ShadowedTableView* table = nullptr;
    QByteArray bytes;
    Value response;
};

// The timed work of each side, in functions of their own so that a profiler
// can count them alone.
[[gnu::noinline]] void oursParse(Ours& ours)
{
    ours.response = ZyJsonParser().objectWithUTF8(ours.bytes)[u"response"];
}

// A change drawn as the application's event loop draws it: the events the
// change posted are delivered (the window's update request, which draws what
// changed; the updates that newly shown views ask for), the views it let go
// of are deleted, and once more for what that posted in turn. Every side
// draws this way, within its time; nothing is left to pile up for the next
// run.
void drawAsTheEventLoopDoes()
{
    for (int turn = 0; turn < 2; ++turn) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

[[gnu::noinline]] void oursFill(Ours& ours)
{
    // As if its texts had never been shown.
    PostTextView::forgetKeptLayouts();
    ours.thread->pages().clear();
    ours.thread->navs().clear();
    ours.thread->pages().insert(ModelWithPages::pageKey(1), ModelWithPages::Page());
    ours.thread->setPostbits(ours.response[u"postbits"], 1);
}

[[gnu::noinline]] void oursLayOutAndDraw(Ours& ours)
{
    // The answer's notice makes the table measure every row (new post
    // objects, nothing kept) and lay out and draw those in view.
    ours.thread->setDictionary(ours.response);
    ours.table->setContentOffset(QPointF(0, 0));
    ours.table->update();
    drawAsTheEventLoopDoes();
}

void oursFirstPage(Ours& ours)
{
    oursParse(ours);
    oursFill(ours);
    oursLayOutAndDraw(ours);
}

[[gnu::noinline]] void measuredOursFirstPage(Ours& ours)
{
    oursFirstPage(ours);
}

void carefulFirstPage(CarefulList& list, const QByteArray& bytes)
{
    list.setEntries(entriesOf(bytes));
    list.verticalScrollBar()->setValue(0);
    list.viewport()->update();
    drawAsTheEventLoopDoes();
}

[[gnu::noinline]] void measuredCarefulFirstPage(CarefulList& list, const QByteArray& bytes)
{
    carefulFirstPage(list, bytes);
}

void qtFirstPage(QListWidget& list, const QByteArray& bytes)
{
    QStringList shown;
    for (const CarefulList::Entry& entry : entriesOf(bytes))
        shown.append(entry.author + QStringLiteral("\n") + entry.text);
    list.clear();
    list.addItems(shown);
    list.doItemsLayout();
    qreal total = 0;
    for (int i = 0; i < list.count(); ++i)
        total += list.visualItemRect(list.item(i)).height();
    (void)total;
    list.verticalScrollBar()->setValue(0);
    list.viewport()->update();
    drawAsTheEventLoopDoes();
}

[[gnu::noinline]] void measuredQtFirstPage(QListWidget& list, const QByteArray& bytes)
{
    qtFirstPage(list, bytes);
}

// Top to bottom and back, 20 points a frame, each frame drawn; answers the
// frames drawn, and the slowest frame's milliseconds in `slowest`.
[[gnu::noinline]] int measuredOursScroll(ShadowedTableView* table, double* slowest)
{
    int frames = 0;
    *slowest = 0;
    QElapsedTimer timer;
    const auto frame = [&](qreal y) {
        timer.start();
        table->setContentOffset(QPointF(0, y));
        drawAsTheEventLoopDoes();
        *slowest = std::max(*slowest, timer.nsecsElapsed() / 1e6);
        ++frames;
    };
    // The last 60 points are the row that asks for the next page.
    const qreal bottom = std::max<qreal>(0, table->maximumContentOffset().y() - 60);
    for (qreal y = 0; y <= bottom; y += 20)
        frame(y);
    for (qreal y = bottom; y >= 0; y -= 20)
        frame(y);
    return frames;
}

[[gnu::noinline]] int measuredListScroll(QAbstractScrollArea& list, double* slowest)
{
    int frames = 0;
    *slowest = 0;
    QElapsedTimer timer;
    QScrollBar* bar = list.verticalScrollBar();
    const auto frame = [&](int y) {
        timer.start();
        bar->setValue(y);
        drawAsTheEventLoopDoes();
        *slowest = std::max(*slowest, timer.nsecsElapsed() / 1e6);
        ++frames;
    };
    for (int y = 0; y <= bar->maximum(); y += 20)
        frame(y);
    for (int y = bar->maximum(); y >= 0; y -= 20)
        frame(y);
    return frames;
}

struct Options {
    int runs = 41;
    int scrollRuns = 15;
    int warm = 3;
    std::array<bool, 3> sides{true, true, true};  // ours, careful, QListWidget
    // 0: the seeded page; N: a first post of N characters; -N: the same in
    // one block, its quoted blocks' tags taken out.
    std::vector<int> variants{0, 2500, 10000, 20000, -20000};
    bool scroll = true;
    bool carefulMovesPixels = false;
};

Options parse(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg = argv[i];
        const QByteArray value = i + 1 < argc ? QByteArray(argv[i + 1]) : QByteArray();
        if (arg == "--runs")
            options.runs = std::max(1, value.toInt()), ++i;
        else if (arg == "--scroll-runs")
            options.scrollRuns = std::max(1, value.toInt()), ++i;
        else if (arg == "--warm")
            options.warm = std::max(0, value.toInt()), ++i;
        else if (arg == "--only")
            options.sides = {value == "ours", value == "careful", value == "qt"}, ++i;
        else if (arg == "--no-scroll")
            options.scroll = false;
        else if (arg == "--careful-moves-pixels")
            options.carefulMovesPixels = true;
        else if (arg == "--variants") {
            options.variants.clear();
            for (const QByteArray& v : value.split(','))
                options.variants.push_back(v.toInt());
            ++i;
        }
    }
    return options;
}

// Times the sides in turns, going through the six orders of the three sides
// one repetition after another, so that each side follows each other side
// as often as any: a side timed right after another finds the caches
// holding that side's data, and QListWidget's heavy runs leave them colder
// than the others'. Answers each side's samples.
std::array<std::vector<double>, 3> alternate(const Options& options, int runs,
                                              const std::array<std::function<void()>, 3>& warmRun,
                                              const std::array<std::function<double()>, 3>& timedRun)
{
    for (int w = 0; w < options.warm; ++w) {
        for (int side = 0; side < 3; ++side) {
            if (options.sides[size_t(side)])
                warmRun[size_t(side)]();
        }
    }
    std::array<std::vector<double>, 3> samples;
    static constexpr std::array<std::array<size_t, 3>, 6> kOrders = {
        {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {0, 2, 1}, {2, 1, 0}, {1, 0, 2}}};
    for (int i = 0; i < runs; ++i) {
        for (int k = 0; k < 3; ++k) {
            const size_t side = kOrders[size_t(i) % kOrders.size()][size_t(k)];
            if (options.sides[side])
                samples[side].push_back(timedRun[side]());
        }
    }
    return samples;
}

QString number(qint64 n)
{
    return QLocale(QLocale::English).toString(n);
}

QString variantName(int length)
{
    if (length == 0)
        return QStringLiteral("seeded page");
    if (length < 0)
        return QStringLiteral("first post of %1 chars in one block").arg(number(-length));
    return QStringLiteral("first post of %1 chars").arg(number(length));
}

QString ratio(double a, double b)
{
    return a > 0 && b > 0 ? QStringLiteral("%1x").arg(a / b, 0, 'f', 2) : QStringLiteral("-");
}

}  // namespace

int main(int argc, char** argv)
{
    const Options options = parse(argc, argv);
    QTemporaryDir home;
    qputenv("MU_HOME", home.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    AppContext context(std::make_shared<SystemClock>());
    AlertPresenter::install();

    // The thread's own texts, from the seeded forum.
    QStringList texts;
    QString seedPath;
    {
        TestForum seeded;
        if (!seeded.start()) {
            std::fprintf(stderr, "thread_page_bench: the loopback forum did not start\n");
            return 1;
        }
        seedPath = seeded.seedPath();
        for (int id = kFirstPost; id < kFirstPost + kPosts; ++id) {
            const QString text = seeded.postState(id).value(QStringLiteral("bbcode")).toString();
            if (!text.isEmpty())
                texts.append(text);
        }
    }
    // The forum the screens read: the seed, with the big thread copied for
    // each long first post.
    std::vector<std::pair<int, QString>> copies;
    std::vector<std::pair<int, int>> threads;  // length, thread id
    for (int length : options.variants) {
        if (length == 0) {
            threads.emplace_back(0, kThread);
        } else {
            const int id = 9100 + int(copies.size());
            copies.emplace_back(id, longText(texts, std::abs(length), length > 0));
            threads.emplace_back(length, id);
        }
    }
    QTemporaryDir seedFolder;
    if (!writeSeed(seedPath, seedFolder.path(), copies)) {
        std::fprintf(stderr, "thread_page_bench: cannot write the seed\n");
        return 1;
    }
    TestForum forum(seedFolder.path() + QStringLiteral("/seed.json"));
    if (!forum.start()) {
        std::fprintf(stderr, "thread_page_bench: the loopback forum did not start: %s\n",
                     qPrintable(forum.seedProblem()));
        return 1;
    }
    Bundle::main().setInfoValue(QStringLiteral("ZtServerBaseUrl"), Value(forum.baseUrl()));
    const CurrentUserPtr guest = CurrentUser::skipLogin();
    const auto idle = [] { return HTTPRequestAsyncronic::getPendingRequests() == 0; };
    waitUntil([&] { return !guest->apiaccesstoken().isEmpty(); });
    waitUntil(idle);

    // The real screen in the phone window, and the two Qt lists beside it,
    // each the table's size.
    Window window;
    window.makeKeyAndVisible();
    const int listHeight = int(PostController::kContentHeight);
    CarefulList careful(Font::fontWithName(QStringLiteral("Helvetica"), 13),
                        Font::fontWithName(QStringLiteral("Helvetica-Bold"), 14));
    careful.setGeometry(340, 0, CarefulList::kWidth, listHeight);
    careful.setMovesPixels(options.carefulMovesPixels);
    careful.show();
    QListWidget list;
    list.setWordWrap(true);
    list.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    list.setGeometry(680, 0, 320, listHeight);
    list.show();
    // Until its window is exposed a widget's repaint draws nothing: every
    // side waits for its window before anything is timed.
    if (!waitUntil([&] { return exposed(&window) && exposed(&careful) && exposed(&list); })) {
        std::fprintf(stderr, "thread_page_bench: the windows were not exposed\n");
        return 1;
    }

    std::printf("thread page on Qt's %s platform; first pages: medians of %d runs, scrolling: medians of %d sweeps; "
                "the sides take turns, %d warming runs each%s\n\n",
                qPrintable(QGuiApplication::platformName()), options.runs, options.scrollRuns, options.warm,
                options.carefulMovesPixels ? "; the careful list scrolls by moving its drawn pixels" : "");
    QStringList firstPageRows;
    QStringList scrollRows;
    QStringList notes;
    for (const auto& [length, id] : threads) {
        Ours ours;
        ours.thread = Thread::initWithThreadid(id);
        ours.screen = std::make_shared<PostController>(context);
        ours.screen->setThread(ours.thread);
        forum.clearLog();
        window.setRootViewController(NavigationController::create(ours.screen));
        waitUntil(idle);
        QCoreApplication::processEvents();
        for (const TestForumRequest& request : forum.requests(QStringLiteral("showthread"))) {
            if (request.field(QStringLiteral("threadid")) == QString::number(id))
                ours.bytes = request.answer;
        }
        if (ours.bytes.isEmpty()) {
            std::fprintf(stderr, "thread_page_bench: no page of thread %d came\n", id);
            return 1;
        }
        ours.table = ours.screen->postTable()->tableView();
        const QString firstText = entriesOf(ours.bytes).value(0).text;
        const int firstLength = int(firstText.size());
        if (length != 0) {
            int emoji = 0;
            for (const EmojiText::Run& run : EmojiText::runs(firstText))
                emoji += run.emoji ? 1 : 0;
            notes.append(QStringLiteral("the %1: %2 quoted blocks, %3 emoji runs, %4 line breaks")
                             .arg(variantName(length))
                             .arg(firstText.count(QStringLiteral("[quote"), Qt::CaseInsensitive))
                             .arg(emoji)
                             .arg(firstText.count(u'\n')));
        }

        const auto timed = [](const std::function<void()>& run) {
            QElapsedTimer timer;
            timer.start();
            run();
            return timer.nsecsElapsed() / 1e6;
        };
        const auto first = alternate(
            options, options.runs,
            {[&] { oursFirstPage(ours); }, [&] { carefulFirstPage(careful, ours.bytes); },
             [&] { qtFirstPage(list, ours.bytes); }},
            {[&] { return timed([&] { measuredOursFirstPage(ours); }); },
             [&] { return timed([&] { measuredCarefulFirstPage(careful, ours.bytes); }); },
             [&] { return timed([&] { measuredQtFirstPage(list, ours.bytes); }); }});
        const double o = median(first[0]), c = median(first[1]), q = median(first[2]);
        if (options.sides[0]) {
            // What one first page of ours does, counted.
            const qint64 heightsBefore = ours.screen->heights().measureCount();
            const qint64 layoutsBefore = PostTextView::layoutCount();
            oursFirstPage(ours);
            notes.append(QStringLiteral("ours, one first page of the %1: %2 row heights measured, %3 post text "
                                        "lay-outs made")
                             .arg(variantName(length))
                             .arg(ours.screen->heights().measureCount() - heightsBefore)
                             .arg(PostTextView::layoutCount() - layoutsBefore));
        }
        firstPageRows.append(QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 | %8 |")
                                 .arg(variantName(length))
                                 .arg(number(firstLength))
                                 .arg(number(ours.bytes.size()))
                                 .arg(o, 0, 'f', 2)
                                 .arg(c, 0, 'f', 2)
                                 .arg(q, 0, 'f', 2)
                                 .arg(ratio(o, c), ratio(o, q)));
        if (length == 0 && options.sides[0]) {
            // Ours alone, split: what parse and fill take of the first page.
            std::vector<double> parsed, filled;
            for (int i = 0; i < options.runs; ++i) {
                parsed.push_back(timed([&] { oursParse(ours); }));
                filled.push_back(timed([&] { oursParse(ours); oursFill(ours); }));
            }
            oursLayOutAndDraw(ours);
            notes.append(QStringLiteral("ours, seeded page: parse %1 ms, parse and fill %2 ms (one 60 Hz frame: "
                                        "16.67 ms)")
                             .arg(median(parsed), 0, 'f', 3)
                             .arg(median(filled), 0, 'f', 3));
        }

        if (length == 0) {
            notes.append(QStringLiteral("rows of the seeded page: ours %1, careful list %2, QListWidget %3")
                             .arg(ours.table->numberOfRowsInSection(0))
                             .arg(careful.rowCount())
                             .arg(list.count()));
        }
        if (options.scroll && (length == 0 || length == 20000)) {
            const qint64 measuredBefore = ours.screen->heights().measureCount();
            const qint64 layoutsBefore = PostTextView::layoutCount();
            const qint64 linesBefore = TextLayout::measureCount();
            std::array<int, 3> frames{0, 0, 0};
            std::array<std::vector<double>, 3> slowest;
            double ignored = 0;
            const auto perFrame = [&](int side, const std::function<int(double*)>& sweep) {
                QElapsedTimer timer;
                timer.start();
                double worst = 0;
                frames[size_t(side)] = sweep(&worst);
                const double ms = timer.nsecsElapsed() / 1e6;
                slowest[size_t(side)].push_back(worst);
                return ms / std::max(1, frames[size_t(side)]);
            };
            // QListWidget lays a long post out again on every frame (about a
            // tenth of a second for 20,000 characters): it scrolls the seeded
            // page only.
            Options scrolling = options;
            if (length != 0)
                scrolling.sides[2] = false;
            const auto scrolled = alternate(
                scrolling, options.scrollRuns,
                {[&] { measuredOursScroll(ours.table, &ignored); }, [&] { measuredListScroll(careful, &ignored); },
                 [&] { measuredListScroll(list, &ignored); }},
                {[&] { return perFrame(0, [&](double* w) { return measuredOursScroll(ours.table, w); }); },
                 [&] { return perFrame(1, [&](double* w) { return measuredListScroll(careful, w); }); },
                 [&] { return perFrame(2, [&](double* w) { return measuredListScroll(list, w); }); }});
            const double so = median(scrolled[0]), sc = median(scrolled[1]), sq = median(scrolled[2]);
            const auto ms = [](double v, int decimals) {
                return v > 0 ? QString::number(v, 'f', decimals) : QStringLiteral("-");
            };
            scrollRows.append(QStringLiteral("| %1 | %2 / %3 / %4 | %5 | %6 | %7 | %8 | %9 | %10 / %11 / %12 |")
                                  .arg(variantName(length))
                                  .arg(frames[0])
                                  .arg(frames[1])
                                  .arg(frames[2])
                                  .arg(ms(so, 3), ms(sc, 3), ms(sq, 3))
                                  .arg(ratio(so, sc), ratio(so, sq))
                                  .arg(ms(median(slowest[0]), 2), ms(median(slowest[1]), 2), ms(median(slowest[2]), 2)));
            if (options.sides[0]) {
                notes.append(QStringLiteral("ours while scrolling the %1: %2 row heights measured, %3 post text "
                                            "lay-outs, %4 lines measured (rows filled as they come into view, none "
                                            "per frame)")
                                 .arg(variantName(length))
                                 .arg(ours.screen->heights().measureCount() - measuredBefore)
                                 .arg(PostTextView::layoutCount() - layoutsBefore)
                                 .arg(TextLayout::measureCount() - linesBefore));
            }
        }
        // Nothing timed may have asked the forum for another page.
        if (forum.requests(QStringLiteral("showthread")).size() != 1)
            notes.append(QStringLiteral("WARNING: the %1 asked for another page while timed").arg(variantName(length)));
    }

    std::printf("bytes to the drawn first page (parse, fill, measure every row, lay out and draw the rows in view)\n\n");
    std::printf("| page | first post chars | answer bytes | ours ms | careful list ms | QListWidget ms | ours vs careful | "
                "ours vs QListWidget |\n|---|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const QString& row : firstPageRows)
        std::printf("%s\n", qPrintable(row));
    if (!scrollRows.isEmpty()) {
        std::printf("\none drawn frame while scrolling top to bottom and back, 20 points a frame (a sweep's "
                    "milliseconds by its frames; the slowest frame of a sweep, median over the sweeps)\n\n");
        std::printf("| page | frames (ours / careful / QListWidget) | ours ms | careful list ms | QListWidget ms | "
                    "ours vs careful | ours vs QListWidget | slowest frame ms (ours / careful / QListWidget) |\n"
                    "|---|---:|---:|---:|---:|---:|---:|---:|\n");
        for (const QString& row : scrollRows)
            std::printf("%s\n", qPrintable(row));
    }
    std::printf("\n");
    for (const QString& note : notes)
        std::printf("%s\n", qPrintable(note));

    window.setRootViewController(nullptr);
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return 0;
}

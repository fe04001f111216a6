// How long one key takes in the reply editor once a long post was quoted:
// from the key's press to the frame that shows it, for keys typed at the
// end of the text and in the middle of the quote.
//
// The post is quoted as the post page's Quote item quotes it (the post's
// quote, put in as the reply's text); `--whole` quotes the whole text
// instead, as the editor was given it before long quotes were cut. Posts:
// five megabytes in one paragraph, and the same in lines of 80 characters.
//
//   cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMU_BENCH=ON
//   cmake --build build-bench --target editor_typing_bench
//   xvfb-run -a -s "-screen 0 1280x1024x24" build-bench/bench/editor_typing_bench [--whole] [--keys N]
//       [--only paragraph|lines] [--at end|inside]
//
// With a display (DISPLAY set) it draws on X; without one, on Qt's
// offscreen platform. For callgrind the keys (two to warm, then the timed
// ones) run in typeMeasured: --collect-atstart=no
// --toggle-collect='*typeMeasured*' with one post and one place.
#include "BenchSupport.h"

#include "forum/model/Post.h"
#include "forum/model/PostQuote.h"
#include "forum/screens/Reply.h"

#include "app/session/AppContext.h"

#include "platform/ui/AlertPresenter.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TextView.h"
#include "platform/ui/Window.h"

#include "platform/foundation/SystemClock.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using BenchSupport::median;
using BenchSupport::waitUntil;

// About five megabytes of words, in one paragraph or in lines.
QString longPost(bool lines)
{
    QString text;
    text.reserve(5 * 1024 * 1024 + 100);
    qsizetype line = 0;
    for (int word = 0; text.size() < 5 * 1024 * 1024; ++word) {
        const QString next = QStringLiteral("word%1").arg(word);
        if (lines && text.size() - line + next.size() > 80) {
            text += u'\n';
            line = text.size();
        } else if (!text.isEmpty()) {
            text += u' ';
        }
        text += next;
    }
    return text;
}

// The frame the window draws now for what the key changed, as the event
// loop would draw it.
void drawFrame(QWidget* window)
{
    QCoreApplication::processEvents();
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(window, &request);
}

// Keys typed one at a time into the editor's text, each until its frame is
// drawn; the milliseconds of each.
Q_NEVER_INLINE std::vector<double> typeMeasured(QWidget* window, QPlainTextEdit* edit, int keys)
{
    std::vector<double> times;
    QElapsedTimer timer;
    for (int key = 0; key < keys; ++key) {
        timer.start();
        QTest::keyClick(edit, Qt::Key_X, Qt::NoModifier);
        drawFrame(window);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return times;
}

}  // namespace

int main(int argc, char** argv)
{
    bool whole = false;
    int keys = 21;
    std::vector<bool> posts{false, true};
    std::vector<bool> places{true, false};  // at the end, inside the quote
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg = argv[i];
        if (arg == "--whole")
            whole = true;
        else if (arg == "--keys" && i + 1 < argc)
            keys = std::max(1, QByteArray(argv[++i]).toInt());
        else if (arg == "--only" && i + 1 < argc)
            posts = {QByteArray(argv[++i]) == "lines"};
        else if (arg == "--at" && i + 1 < argc)
            places = {QByteArray(argv[++i]) == "end"};
    }
    QTemporaryDir home;
    qputenv("MU_HOME", home.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    AppContext context(std::make_shared<SystemClock>());
    AlertPresenter::install();

    std::printf("editor typing on Qt's %s platform, the quote %s; medians of %d keys, each to its drawn frame\n",
                qPrintable(QGuiApplication::platformName()), whole ? "whole" : "as the post page quotes it",
                keys);
    std::printf("%-22s %12s %14s %14s\n", "post", "quote chars", "key at end ms", "key inside ms");
    for (const bool lines : posts) {
        const QString text = longPost(lines);
        const PostPtr post = Model::createWithDictionary<Post>(
            Value(ValueDict{{QStringLiteral("postid"), Value(9001)},
                            {QStringLiteral("username"), Value(QStringLiteral("bob"))},
                            {QStringLiteral("message_bbcode"), Value(text)}}));
        const QString quote = whole ? PostQuote::writeQuote(QStringLiteral("bob"), 9001, text) : post->quote();

        Window window;
        auto reply = std::make_shared<Reply>(context);
        window.setRootViewController(NavigationController::create(reply));
        window.makeKeyAndVisible();
        if (!waitUntil([&] { return window.windowHandle() && window.windowHandle()->isExposed(); })) {
            std::fprintf(stderr, "editor_typing_bench: the window was not exposed\n");
            return 1;
        }
        reply->setText(quote);
        reply->content()->becomeFirstResponder();
        auto* edit = reply->content()->findChild<QPlainTextEdit*>();
        waitUntil([] { return false; }, 300);

        std::vector<double> medians;
        for (const bool atEnd : places) {
            QTextCursor caret = edit->textCursor();
            caret.setPosition(atEnd ? edit->document()->characterCount() - 1 : int(quote.size() / 2));
            edit->setTextCursor(caret);
            drawFrame(&window);
            typeMeasured(&window, edit, 2);
            medians.push_back(median(typeMeasured(&window, edit, keys)));
        }
        const auto shown = [&](bool atEnd) {
            const auto found = std::find(places.begin(), places.end(), atEnd);
            return found == places.end() ? -1.0 : medians[std::size_t(found - places.begin())];
        };
        std::printf("%-22s %12lld %14.2f %14.2f\n", lines ? "5 MB in lines" : "5 MB in one paragraph",
                    static_cast<long long>(quote.size()), shown(true), shown(false));
        std::fflush(stdout);
    }
    return 0;
}

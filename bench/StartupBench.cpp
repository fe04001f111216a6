// Prints the time from process start to the first drawn frame of the
// application beside a minimal Qt Widgets program (a 320 x 480 window with a
// label), at zoom 1 and 2, run in turns so that both see the same load.
//
//   cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMU_BENCH=ON
//   cmake --build build-bench --target startup_bench
//   xvfb-run -a -s "-screen 0 1280x1024x24" build-bench/bench/startup_bench
//
// Both programs print the monotonic clock's reading when their first frame is
// drawn (--first-frame); this program reads the same clock before it starts
// them. With a display (DISPLAY set: an X server, Xvfb or a desktop) they
// draw on X, which is what the goal is measured on. Without one they draw on
// Qt's offscreen platform, given a 1280 x 1024 screen (its own is 800 x 800,
// where zoom 2 does not fit and the application opens at 1.5). Before timing,
// the screen is asked for its size: a zoom the application would shrink to
// fit is refused, not measured. The application starts with a fresh settings
// folder (the login screen, under the splash) and a forum address nothing
// answers on. Options: --rounds N (default 21); --zooms 1,2 (default);
// --app-only N starts the application N times at zoom 1, for a profiler.
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

extern char** environ;

namespace {

double monotonicSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Starts the program with the arguments and extra environment and reads
// what it prints; answers the monotonic clock's reading just before the
// start, or a negative number when the program failed (said on stderr).
double run(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
           std::string* printed)
{
    std::vector<std::string> env = environment;
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    std::vector<char*> argv;
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);

    int out[2];
    if (pipe(out) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    // Their diagnostics would drown the table.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const double started = monotonicSeconds();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
        std::fprintf(stderr, "Cannot start %s\n", argv[0]);
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        printed->append(buffer, size_t(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed (%s %d; it printed \"%s\")\n", argv[0],
                     WIFEXITED(status) ? "exit status" : "signal",
                     WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status), printed->c_str());
        return -1;
    }
    return started;
}

// Starts the program; answers the seconds from just before the start to its
// first frame. A start that fails (even after its first frame) is counted
// and started again, five times at most, so that one failed start does not
// end the run; the failures are reported under the table.
double firstFrameSeconds(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                         int* failures)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        std::string printed;
        const double started = run(arguments, environment, &printed);
        if (started < 0) {
            ++*failures;
            continue;
        }
        const double drawn = std::atof(printed.c_str());
        if (drawn <= started) {
            std::fprintf(stderr, "%s did not report its first frame (%s)\n", arguments[0].c_str(), printed.c_str());
            std::exit(1);
        }
        return drawn - started;
    }
    std::fprintf(stderr, "%s failed five times in a row\n", arguments[0].c_str());
    std::exit(1);
}

// The zoom the application opens at on a screen of that available size
// when asked for `zoom`: as its window placement does, the largest quarter
// step that fits the window and a 40-pixel title bar.
double zoomThatOpens(double zoom, int width, int height)
{
    const double fits = std::min((height - 40) / 480.0, width / 320.0);
    return zoom <= fits ? zoom : std::max(0.5, std::floor(fits * 4) / 4);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    int rounds = 21;
    int appOnly = 0;
    std::vector<std::string> zooms{"1", "2"};
    for (int i = 1; i + 1 < argc; i += 2) {
        if (QByteArray(argv[i]) == "--rounds")
            rounds = std::max(1, std::atoi(argv[i + 1]));
        else if (QByteArray(argv[i]) == "--app-only")
            appOnly = std::atoi(argv[i + 1]);
        else if (QByteArray(argv[i]) == "--zooms") {
            zooms.clear();
            for (const QByteArray& zoom : QByteArray(argv[i + 1]).split(','))
                zooms.push_back(zoom.toStdString());
        }
    }
    QTemporaryDir home;
    QTemporaryDir settings;
    std::vector<std::string> common;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        // A screen with room for zoom 2 (640 x 960 and the title bar).
        const QString config = settings.path() + QStringLiteral("/offscreen.json");
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(R"({"screens": [{"name": "bench", "x": 0, "y": 0, "width": 1280, "height": 1024, )"
                   R"("logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        file.close();
        common.push_back("QT_QPA_PLATFORM=offscreen:configfile=" + config.toStdString());
    }

    std::vector<std::string> appEnvironment = common;
    appEnvironment.push_back("MU_HOME=" + home.path().toStdString());
    int appFailures = 0;
    int baselineFailures = 0;
    auto app = [&](const std::string& zoom) {
        return firstFrameSeconds({MU_APP_PATH, "--first-frame", "--zoom", zoom, "--forum", "http://127.0.0.1:9/forum"},
                                 appEnvironment, &appFailures);
    };
    if (appOnly > 0) {
        for (int i = 0; i < appOnly; ++i)
            app("1");
        return 0;
    }

    // What the programs will draw on.
    std::string screen;
    if (run({MU_BASELINE_PATH, "--screen"}, common, &screen) < 0)
        return 1;
    char platform[64] = {};
    int width = 0;
    int height = 0;
    if (std::sscanf(screen.c_str(), "%63s %d %d", platform, &width, &height) != 3) {
        std::fprintf(stderr, "The baseline did not report its screen (%s)\n", screen.c_str());
        return 1;
    }
    std::printf("on Qt's %s platform, screen %d x %d available, medians of %d starts of each program, in turns\n\n",
                platform, width, height, rounds);
    if (std::string(platform) != "xcb")
        std::printf("(not on X: the goal is measured on X, see docs/speed.md)\n\n");

    std::printf("| zoom | application ms | Qt Widgets window ms | application vs Qt |\n");
    std::printf("|---|---:|---:|---:|\n");
    for (const std::string& zoom : zooms) {
        const double opens = zoomThatOpens(std::atof(zoom.c_str()), width, height);
        if (opens != std::atof(zoom.c_str())) {
            std::printf("| %s | not measured: the screen has room for zoom %.2f only | | |\n", zoom.c_str(), opens);
            continue;
        }
        std::vector<std::string> baselineEnvironment = common;
        baselineEnvironment.push_back("QT_SCALE_FACTOR=" + zoom);
        const auto baseline = [&] {
            return firstFrameSeconds({MU_BASELINE_PATH}, baselineEnvironment, &baselineFailures);
        };
        // Files and libraries into the cache.
        app(zoom);
        baseline();
        std::vector<double> ours;
        std::vector<double> qt;
        // The two take turns; the one started first changes every round.
        for (int round = 0; round < rounds; ++round) {
            for (int k = 0; k < 2; ++k) {
                if ((round + k) % 2 == 0)
                    ours.push_back(app(zoom));
                else
                    qt.push_back(baseline());
            }
        }
        std::printf("| %s | %.1f | %.1f | %.2fx |\n", zoom.c_str(), median(ours) * 1e3, median(qt) * 1e3,
                    median(ours) / median(qt));
        std::fflush(stdout);
    }
    if (appFailures > 0 || baselineFailures > 0)
        std::printf("\nstarts that failed and were started again: application %d, Qt window %d\n", appFailures,
                    baselineFailures);
    return 0;
}

// Prints the time from process start to the first drawn frame of the
// application beside a minimal Qt Widgets program (a 320 x 480 window with a
// label), at zoom 1 and 2, run in turns so that both see the same load.
//
//   cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMU_BENCH=ON
//   cmake --build build-bench --target startup_bench && build-bench/bench/startup_bench
//
// Both programs print the monotonic clock's reading when their first frame is
// drawn (--first-frame); this program reads the same clock before it starts
// them. Without a display they draw on Qt's offscreen platform. The
// application starts with a fresh settings folder (the login screen, under
// the splash) and a forum address nothing answers on. Options: --rounds N
// (default 21); --app-only N starts the application N times, for a profiler.
#include <QByteArray>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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

// Starts the program with the arguments and extra environment; answers the
// seconds from just before the start to its first frame.
double firstFrameSeconds(const std::vector<std::string>& arguments, const std::vector<std::string>& environment)
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
    std::string printed;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        printed.append(buffer, size_t(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    const double drawn = std::atof(printed.c_str());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || drawn <= started) {
        std::fprintf(stderr, "%s did not report its first frame (%s)\n", argv[0], printed.c_str());
        std::exit(1);
    }
    return drawn - started;
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
    for (int i = 1; i + 1 < argc; i += 2) {
        if (QByteArray(argv[i]) == "--rounds")
            rounds = std::max(1, std::atoi(argv[i + 1]));
        else if (QByteArray(argv[i]) == "--app-only")
            appOnly = std::atoi(argv[i + 1]);
    }
    std::vector<std::string> common;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        common.emplace_back("QT_QPA_PLATFORM=offscreen");

    QTemporaryDir home;
    std::vector<std::string> appEnvironment = common;
    appEnvironment.push_back("MU_HOME=" + home.path().toStdString());
    auto app = [&](const char* zoom) {
        return firstFrameSeconds({MU_APP_PATH, "--first-frame", "--zoom", zoom, "--forum", "http://127.0.0.1:9/forum"},
                                 appEnvironment);
    };
    if (appOnly > 0) {
        for (int i = 0; i < appOnly; ++i)
            app("1");
        return 0;
    }

    std::printf("| zoom | application ms | Qt Widgets window ms | application vs Qt |\n");
    std::printf("|---|---:|---:|---:|\n");
    for (const char* zoom : {"1", "2"}) {
        std::vector<std::string> baselineEnvironment = common;
        baselineEnvironment.push_back(std::string("QT_SCALE_FACTOR=") + zoom);
        std::vector<double> ours;
        std::vector<double> qt;
        app(zoom);  // files and libraries into the cache
        firstFrameSeconds({MU_BASELINE_PATH}, baselineEnvironment);
        for (int round = 0; round < rounds; ++round) {
            ours.push_back(app(zoom));
            qt.push_back(firstFrameSeconds({MU_BASELINE_PATH}, baselineEnvironment));
        }
        std::printf("| %s | %.1f | %.1f | %.2fx |\n", zoom, median(ours) * 1e3, median(qt) * 1e3,
                    median(ours) / median(qt));
        std::fflush(stdout);
    }
    return 0;
}

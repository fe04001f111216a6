#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <signal.h>
#include <unistd.h>

namespace TestSupport {

QString homeFolder()
{
    return qEnvironmentVariable("MU_HOME");
}

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeout.count())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(1);
    }
    return true;
}

void processEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

namespace {

namespace fs = std::filesystem;

const char kPrivatePrefix[] = ".writing-";

fs::path gallery()
{
    return fs::path(MU_GALLERY_DIR);
}

// The folder this process writes its pictures into: test programs that run
// at the same time in the same build (ctest's and another run's) would
// otherwise write and read back the same files at once.
fs::path privateFolder()
{
    return gallery() / (kPrivatePrefix + std::to_string(getpid()));
}

// Each picture replaces the gallery's in one step, once the process is done
// with it; a reader never sees half a file.
void publish()
{
    std::error_code error;
    const fs::path mine = privateFolder();
    std::vector<fs::path> pictures;
    for (const fs::directory_entry& entry : fs::directory_iterator(mine, error))
        pictures.push_back(entry.path());
    for (const fs::path& picture : pictures)
        fs::rename(picture, gallery() / picture.filename(), error);
    fs::remove_all(mine, error);
}

// What processes that ended without publishing left behind.
void removeAbandoned()
{
    std::error_code error;
    std::vector<fs::path> abandoned;
    for (const fs::directory_entry& entry : fs::directory_iterator(gallery(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(kPrivatePrefix, 0) != 0)
            continue;
        const long pid = std::strtol(name.c_str() + sizeof kPrivatePrefix - 1, nullptr, 10);
        if (pid > 0 && kill(pid_t(pid), 0) != 0 && errno == ESRCH)
            abandoned.push_back(entry.path());
    }
    for (const fs::path& folder : abandoned)
        fs::remove_all(folder, error);
}

}  // namespace

QString galleryPath(const QString& name)
{
    static const bool prepared = [] {
        removeAbandoned();
        std::atexit(publish);
        return true;
    }();
    Q_UNUSED(prepared);
    return QDir(QString::fromStdString(privateFolder().string())).filePath(name);
}

}  // namespace TestSupport

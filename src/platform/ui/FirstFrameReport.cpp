#include "platform/ui/FirstFrameReport.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

void FirstFrameReport::watch(QWidget* window)
{
    window->installEventFilter(new FirstFrameReport(window));
}

FirstFrameReport::FirstFrameReport(QWidget* window) : QObject(window) {}

bool FirstFrameReport::eventFilter(QObject*, QEvent* event)
{
    if (event->type() != QEvent::Paint || m_painted)
        return false;
    m_painted = true;
    // The window paints its children and flushes the frame before the event
    // loop turns again.
    QTimer::singleShot(0, this, [] {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("%lld.%09ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec);
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return false;
}

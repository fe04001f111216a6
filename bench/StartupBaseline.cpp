// The start-up benchmark's baseline: a minimal Qt Widgets program showing a
// 320 x 480 window with a label, which always reports its first frame as the
// application does with --first-frame. It links Qt Widgets only.
// With --screen it prints the platform's name and its primary screen's
// available size in device-independent pixels ("xcb 1280 1024"), then quits:
// the benchmark checks with it that the screen has room for the zoom.
#include "platform/ui/FirstFrameReport.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--screen") == 0) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect available = screen ? screen->availableGeometry() : QRect();
        std::printf("%s %d %d\n", qPrintable(QGuiApplication::platformName()), available.width(), available.height());
        return 0;
    }
    QWidget window;
    window.setFixedSize(320, 480);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Hello, forum"), &window), 0, Qt::AlignCenter);
    window.show();
    FirstFrameReport::watch(&window);
    return QApplication::exec();
}

// The start-up benchmark's baseline: a minimal Qt Widgets program showing a
// 320 x 480 window with a label, which always reports its first frame as the
// application does with --first-frame. It links Qt Widgets only.
#include "platform/ui/FirstFrameReport.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(320, 480);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Hello, forum"), &window), 0, Qt::AlignCenter);
    window.show();
    FirstFrameReport::watch(&window);
    return QApplication::exec();
}

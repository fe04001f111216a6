#include <QGuiApplication>
#include <QThreadPool>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Every test process gets its own home: settings, documents, caches and
    // temporary files never touch the user's own.
    QTemporaryDir home;
    qputenv("MU_HOME", home.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QGuiApplication app(argc, argv);
    // Some tests read what was logged: every category speaks here.
    QLoggingCategory::setFilterRules(QStringLiteral("mu.*.debug=true"));
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // Qt's pooled threads (picture scaling) end now rather than while the
    // process exits, where they would race the leak check.
    QThreadPool::globalInstance()->waitForDone();
    return result;
}

#include <QApplication>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The main of widget tests: a widget application on the offscreen platform,
// with the user's data folders in a fresh temporary folder. (Its `main` keeps
// the shared test main's out of the link.)
int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("MU_HOME", home.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Some tests read what was logged: every category speaks here.
    QLoggingCategory::setFilterRules(QStringLiteral("mu.*.debug=true"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

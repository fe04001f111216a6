#include "PlatformTest.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/DeviceInfo.h"
#include "platform/foundation/Paths.h"

#include <QDir>
#include <QFileInfo>

using BundleTest = PlatformTest;
using PathsTest = PlatformTest;

TEST_F(BundleTest, ReadsSettingsAndStringsOfTheResources)
{
    Bundle& bundle = Bundle::main();
    EXPECT_FALSE(bundle.pathForResource(QStringLiteral("Info.plist")).isNull());
    EXPECT_TRUE(bundle.pathForResource(QStringLiteral("nothing-here.plist")).isNull());
    EXPECT_EQ(bundle.objectForInfoDictionaryKey(QStringLiteral("CFBundleDisplayName")).string(), QStringLiteral("mu Forum"));
    EXPECT_TRUE(bundle.objectForInfoDictionaryKey(QStringLiteral("NoSuchKey")).isAbsent());

    bundle.setInfoValue(QStringLiteral("ZtServerBaseUrl"), Value(QStringLiteral("http://127.0.0.1:1/x")));
    EXPECT_EQ(bundle.objectForInfoDictionaryKey(QStringLiteral("ZtServerBaseUrl")).string(), QStringLiteral("http://127.0.0.1:1/x"));
    bundle.setInfoValue(QStringLiteral("ZtServerBaseUrl"), Value());
    EXPECT_EQ(bundle.objectForInfoDictionaryKey(QStringLiteral("ZtServerBaseUrl")).string(),
              QStringLiteral("http://127.0.0.1:8080/forum"));

    EXPECT_EQ(bundle.localizedString(QStringLiteral("ok")), QStringLiteral("OK"));
    EXPECT_EQ(bundle.localizedString(QStringLiteral("no_such_text")), QStringLiteral("no_such_text"));
}

TEST_F(PathsTest, FoldersLiveBelowTheTestHomeAndExist)
{
    const QString home = QDir(TestSupport::homeFolder()).absolutePath();
    EXPECT_EQ(Paths::dataDir(), home + QStringLiteral("/data"));
    EXPECT_EQ(Paths::documentsDir(), home + QStringLiteral("/Documents"));
    EXPECT_EQ(Paths::cachesDir(), home + QStringLiteral("/Caches"));
    EXPECT_EQ(Paths::tempDir(), home + QStringLiteral("/tmp"));
    for (const QString& dir : {Paths::dataDir(), Paths::documentsDir(), Paths::cachesDir(), Paths::tempDir()})
        EXPECT_TRUE(QFileInfo(dir).isDir()) << dir.toStdString();
    EXPECT_FALSE(DeviceInfo::model().isEmpty());
    EXPECT_FALSE(DeviceInfo::systemVersion().isEmpty());
}

#include "PlatformTest.h"

#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/UserDefaults.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

using UserDefaultsTest = PlatformTest;

namespace {
unsigned modeOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return 0;
    return info.st_mode & 0777;
}
}  // namespace

TEST_F(UserDefaultsTest, ValuesSurviveARestart)
{
    UserDefaults& defaults = UserDefaults::standard();
    EXPECT_TRUE(defaults.filePath().startsWith(TestSupport::homeFolder()));
    EXPECT_TRUE(defaults.objectForKey(QStringLiteral("config")).isAbsent());

    const ValueDict types{{QStringLiteral("Post"), Value(1)}, {QStringLiteral("Forum"), Value(QStringLiteral("7"))}};
    defaults.setObject(QStringLiteral("contentTypes"), Value(types));
    defaults.setObject(QStringLiteral("config"), Value(QByteArray("\x01\x02", 2)));
    defaults.setObject(QStringLiteral("gone"), Value(QStringLiteral("x")));
    defaults.removeObjectForKey(QStringLiteral("gone"));
    defaults.setObject(QStringLiteral("alsoGone"), Value(1));
    defaults.setObject(QStringLiteral("alsoGone"), Value());

    defaults.reload();
    EXPECT_EQ(defaults.objectForKey(QStringLiteral("contentTypes")), Value(types));
    EXPECT_EQ(defaults.objectForKey(QStringLiteral("config")).bytes(), QByteArray("\x01\x02", 2));
    EXPECT_TRUE(defaults.objectForKey(QStringLiteral("gone")).isAbsent());
    EXPECT_TRUE(defaults.objectForKey(QStringLiteral("alsoGone")).isAbsent());

    // The file on disk is the store; no temporary files are left beside it.
    EXPECT_TRUE(PropertyList::readFile(defaults.filePath())[u"config"].isBytes());
    EXPECT_EQ(QDir(Paths::dataDir()).entryList(QDir::Files), QStringList{QStringLiteral("UserDefaults.plist")});
}

TEST_F(UserDefaultsTest, CopiesThatAKilledSaveLeftAreRemovedOnTheNextStart)
{
    UserDefaults& defaults = UserDefaults::standard();
    defaults.setObject(QStringLiteral("config"), Value(QStringLiteral("kept")));
    const QDir folder(Paths::dataDir());
    const QStringList leftovers{QStringLiteral("UserDefaults.plist.Ab12Cd"), QStringLiteral("UserDefaults.plist.QWERTY")};
    const QStringList others{QStringLiteral("UserDefaults.plist.bak"), QStringLiteral("UserDefaults.plist.Ab12Cd7"),
                             QStringLiteral("Other.plist.Ab12Cd")};
    for (const QString& name : leftovers + others) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    }

    defaults.reload();
    EXPECT_EQ(defaults.objectForKey(QStringLiteral("config")), Value(QStringLiteral("kept")));
    QStringList expected = others;
    expected.append(QStringLiteral("UserDefaults.plist"));
    expected.sort();
    EXPECT_EQ(folder.entryList(QDir::Files, QDir::Name), expected);
}

TEST_F(UserDefaultsTest, FileIsReadableByTheOwnerOnly)
{
    UserDefaults& defaults = UserDefaults::standard();
    defaults.setObject(QStringLiteral("current_user"), Value(QStringLiteral("secret")));
    EXPECT_EQ(modeOf(defaults.filePath()), 0600);

    // A file that others could read is tightened by the next save.
    QFile::setPermissions(defaults.filePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                   | QFileDevice::ReadOther | QFileDevice::ReadGroup);
    defaults.setObject(QStringLiteral("other"), Value(2));
    EXPECT_EQ(modeOf(defaults.filePath()), 0600);
}

TEST_F(UserDefaultsTest, CorruptFileReadsAsEmptyAndIsReplaced)
{
    UserDefaults& defaults = UserDefaults::standard();
    {
        QFile file(defaults.filePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<?xml version=\"1.0\"?><plist><dict><key>half");
    }
    defaults.reload();
    Log::clearRecent();
    EXPECT_TRUE(defaults.objectForKey(QStringLiteral("anything")).isAbsent());
    EXPECT_FALSE(Log::recent().isEmpty());

    defaults.setObject(QStringLiteral("key"), Value(QStringLiteral("value")));
    defaults.reload();
    EXPECT_EQ(defaults.objectForKey(QStringLiteral("key")).string(), QStringLiteral("value"));
}

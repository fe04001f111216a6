#include "AppTest.h"

#include "app/text/Smiles.h"

#include <QFile>

using SmilesTest = AppTest;

namespace {

QString writeFile(const QString& name, const QByteArray& content)
{
    const QString path = TestSupport::homeFolder() + u'/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path;
}

}  // namespace

TEST_F(SmilesTest, BundleTableMapsEmoticonsToTheirPicturesInFileOrder)
{
    Smiles& smiles = Smiles::getInstance();
    const QStringList expectedKeys{QStringLiteral(":)"), QStringLiteral(":("), QStringLiteral(";)"),
                                   QStringLiteral(":D"), QStringLiteral(":P")};
    EXPECT_EQ(smiles.smiles().keys(), expectedKeys);
    EXPECT_EQ(smiles.smiles().value(QStringLiteral(":)")).string(), QStringLiteral("smile.png"));

    for (const QString& text : expectedKeys) {
        const Image image = smiles.imageForText(text);
        ASSERT_FALSE(image.isNull()) << text.toStdString();
        EXPECT_EQ(image.width(), 16);
        EXPECT_EQ(image.height(), 16);
    }
    EXPECT_TRUE(smiles.imageForText(QStringLiteral(":-|")).isNull());
    EXPECT_TRUE(smiles.imageForText(QString()).isNull());
}

TEST_F(SmilesTest, MissingOrUnreadableTableOffersNoEmoticons)
{
    Smiles missing(TestSupport::homeFolder() + QStringLiteral("/none.plist"));
    EXPECT_TRUE(missing.smiles().isEmpty());
    EXPECT_TRUE(missing.imageForText(QStringLiteral(":)")).isNull());

    Smiles corrupt(writeFile(QStringLiteral("corrupt.plist"), QByteArrayLiteral("<plist><dict><key>:)")));
    EXPECT_TRUE(corrupt.smiles().isEmpty());
}

TEST_F(SmilesTest, EntriesWithoutUsablePictureGiveNoImage)
{
    Smiles table(writeFile(QStringLiteral("mixed.plist"), QByteArrayLiteral(
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>"
        "<key>:x</key><integer>3</integer>"
        "<key>:)</key><string>smile.png</string>"
        "<key>:?</key><string>nowhere.png</string>"
        "</dict></plist>")));
    EXPECT_EQ(table.smiles().keys(), (QStringList{QStringLiteral(":)"), QStringLiteral(":?")}));
    EXPECT_FALSE(table.imageForText(QStringLiteral(":)")).isNull());
    EXPECT_TRUE(table.imageForText(QStringLiteral(":?")).isNull());
    EXPECT_TRUE(table.imageForText(QStringLiteral(":x")).isNull());
}

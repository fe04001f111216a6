#include "ImagePickerStub.h"
#include "ScreenWindowTest.h"

#include "app/media/ImageToUpload.h"
#include "app/navigation/SelectImage.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/ImagePickerController.h"
#include "platform/ui/Screenshot.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// Picking a picture for a screen: the sources the machine has decide
// between the choice sheet, the library at once and the "data_type" alert;
// a picked file comes back as an upload image with a file of its own; a
// file that is no picture is refused with an alert.
namespace {

class Chooser : public SelectImageDelegate {
public:
    QList<std::shared_ptr<ImageToUpload>> images;
    int cancelled = 0;
    void imageWasSelected(const std::shared_ptr<ImageToUpload>& image, SelectImage*) override { images.append(image); }
    void selectImageWasCancelled(SelectImage*) override { ++cancelled; }
};

QString text(const char* key)
{
    return Bundle::main().localizedString(QString::fromLatin1(key));
}

class SelectImageTest : public ScreenWindowTest {
protected:
    void SetUp() override
    {
        ScreenWindowTest::SetUp();
        screen = std::make_shared<ViewController>();
        window->setRootViewController(screen);
        turnEventLoop();
    }
    void TearDown() override
    {
        selector.reset();
        ScreenWindowTest::TearDown();
    }
    SelectImage& open(Chooser& chooser)
    {
        selector = std::make_shared<SelectImage>();
        selector->setMediaType(SelectImage::kMediaTypeImage);
        selector->setController(screen.get());
        selector->setDelegate(&chooser);
        selector->showInView(screen->view());
        return *selector;
    }
    // The picker's slide, without letting the clock pass a second.
    static void slide()
    {
        Animator::shared().finishAll();
        turnEventLoop();
    }
    QString picture(const char* name, const QSize& size, const QColor& colour)
    {
        const QString path = files.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(ImagePickerStub::writePicture(path, size, colour));
        return path;
    }

    std::shared_ptr<ViewController> screen;
    SelectImagePtr selector;
    QTemporaryDir files;
};

}  // namespace

TEST_F(SelectImageTest, TheLibraryAloneOpensAtOnceAndEachPictureHasAFileOfItsOwn)
{
    ImagePickerStub machine(true, false);
    Chooser chooser;
    SelectImage& first = open(chooser);
    EXPECT_EQ(first.actionSheet(), nullptr) << "no sheet for one source";
    slide();
    ASSERT_TRUE(machine.isAsking());
    ASSERT_NE(first.picker(), nullptr);
    EXPECT_EQ(screen->modalViewController(), first.picker());
    ASSERT_TRUE(Screenshot::savePNG(window.get(), TestSupport::galleryPath(QStringLiteral("image-picker-library.png"))));

    machine.choose(picture("red.png", QSize(640, 480), Qt::red));
    ASSERT_EQ(chooser.images.size(), 1);
    const std::shared_ptr<ImageToUpload> red = chooser.images[0];
    EXPECT_EQ(red->thumbnail().width(), 320);
    EXPECT_EQ(red->thumbnail().height(), 240);
    slide();
    EXPECT_EQ(screen->modalViewController(), nullptr) << "the picker goes once the picture is handed over";

    // A second picture within the same second (the member's picture and an
    // attachment, or two attachments) never shares the first one's file.
    open(chooser);
    slide();
    machine.choose(picture("green.png", QSize(200, 100), Qt::green));
    slide();
    ASSERT_EQ(chooser.images.size(), 2);
    std::shared_ptr<ImageToUpload> green = chooser.images[1];
    EXPECT_NE(red->path(), green->path());
    const Image redFile = Image::fromFile(red->path());
    const Image greenFile = Image::fromFile(green->path());
    ASSERT_FALSE(redFile.isNull());
    ASSERT_FALSE(greenFile.isNull());
    EXPECT_EQ(redFile.width(), 640);
    EXPECT_GT(redFile.qimage().pixelColor(10, 10).red(), 200);
    EXPECT_EQ(greenFile.width(), 200);
    EXPECT_GT(greenFile.qimage().pixelColor(10, 10).green(), 200);
    const QString greenPath = green->path();
    green.reset();
    chooser.images.removeLast();
    EXPECT_FALSE(QFile::exists(greenPath));
    EXPECT_TRUE(QFile::exists(red->path())) << "letting one go leaves the other's file";
    EXPECT_EQ(chooser.cancelled, 0);
}

TEST_F(SelectImageTest, BothSourcesAreOfferedInASheetWhoseCancelDoesNothing)
{
    ImagePickerStub machine(true, true);
    Chooser chooser;
    SelectImage& select = open(chooser);
    slide();
    ActionSheet* sheet = select.actionSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->title().isEmpty());
    ASSERT_EQ(sheet->numberOfButtons(), 3);
    EXPECT_EQ(sheet->buttonTitleAtIndex(SelectImage::kLibraryButton), text("add_image"));
    EXPECT_EQ(sheet->buttonTitleAtIndex(SelectImage::kCameraButton), text("take_photo"));
    EXPECT_EQ(sheet->buttonTitleAtIndex(sheet->cancelButtonIndex()), text("cancel"));
    const QString path = TestSupport::galleryPath(QStringLiteral("select-image-sheet.png"));
    ASSERT_TRUE(Screenshot::savePNG(window.get(), path));

    tap(sheet->convertPoint(sheet->buttonRect(sheet->cancelButtonIndex()).center(), nullptr));
    finishMoving();
    EXPECT_EQ(select.actionSheet(), nullptr);
    EXPECT_EQ(screen->modalViewController(), nullptr);
    EXPECT_EQ(machine.asked, 0);

    SelectImage& again = open(chooser);
    slide();
    ASSERT_NE(again.actionSheet(), nullptr);
    tap(again.actionSheet()->convertPoint(again.actionSheet()->buttonRect(SelectImage::kLibraryButton).center(),
                                          nullptr));
    finishMoving();
    EXPECT_TRUE(machine.isAsking()) << "the library's button opens the library";
    machine.choose(QString());
    finishMoving();
    EXPECT_EQ(chooser.cancelled, 1);
    EXPECT_EQ(screen->modalViewController(), nullptr);
    EXPECT_TRUE(chooser.images.isEmpty());
}

TEST_F(SelectImageTest, WithNoSourceTheAlertSaysSoAndNothingOpens)
{
    ImagePickerStub machine(false, false);
    Chooser chooser;
    SelectImage& select = open(chooser);
    slide();
    ASSERT_EQ(shownAlerts().size(), 1);
    EXPECT_EQ(shownAlerts()[0]->message(), text("data_type"));
    EXPECT_EQ(shownAlerts()[0]->buttonTitles(), QStringList{text("OK")});
    EXPECT_EQ(select.actionSheet(), nullptr);
    EXPECT_EQ(screen->modalViewController(), nullptr);
    EXPECT_EQ(machine.asked, 0);
}

TEST_F(SelectImageTest, AFileThatIsNoPictureOrAPictureThatCannotBeWrittenIsRefused)
{
    ImagePickerStub machine(true, false);
    Chooser chooser;
    open(chooser);
    slide();
    const QString words = files.filePath(QStringLiteral("holiday.jpg"));
    QFile file(words);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture at all");
    file.close();
    machine.choose(words);
    slide();
    EXPECT_TRUE(chooser.images.isEmpty());
    EXPECT_EQ(chooser.cancelled, 1);
    EXPECT_EQ(alertMessages(), QStringList{text("image_unreadable")});
    EXPECT_EQ(screen->modalViewController(), nullptr);

    // The temporary folder cannot be written: nothing to send, and it says so.
    dismissAlerts();
    const QString folder = Paths::tempDir();
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    open(chooser);
    slide();
    machine.choose(picture("blue.png", QSize(40, 40), Qt::blue));
    slide();
    EXPECT_TRUE(chooser.images.isEmpty());
    EXPECT_EQ(chooser.cancelled, 2);
    EXPECT_EQ(alertMessages().last(), text("image_not_prepared"));
}

#include "ImagePickerStub.h"
#include "UiTestSupport.h"

#include "platform/ui/ImagePickerController.h"

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

// The picture picker over a screen: the library's file chooser opens when the
// picker is on screen, its answer reaches the delegate once, and the sources
// the machine lacks are not offered.
namespace {

class Recorder : public ImagePickerControllerDelegate {
public:
    QStringList log;
    ImagePickerMedia last;
    void didFinishPickingMediaWithInfo(ImagePickerController* picker, const ImagePickerMedia& info) override
    {
        log.append(QStringLiteral("picked"));
        last = info;
        picker->dismissModalViewControllerAnimated(true);
    }
    void imagePickerControllerDidCancel(ImagePickerController* picker) override
    {
        log.append(QStringLiteral("cancelled"));
        ImagePickerControllerDelegate::imagePickerControllerDidCancel(picker);
    }
};

class ImagePickerTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        screen = std::make_shared<ViewController>();
        window->setRootViewController(screen);
    }
    void finishMoving()
    {
        clock->advance(1000);
        Animator::shared().finishAll();
        turnEventLoop();
    }
    std::shared_ptr<ImagePickerController> present(Recorder& recorder)
    {
        auto picker = std::make_shared<ImagePickerController>();
        picker->setDelegate(&recorder);
        screen->presentModalViewController(picker, true);
        return picker;
    }

    std::shared_ptr<ViewController> screen;
    QTemporaryDir folder;
};

}  // namespace

TEST_F(ImagePickerTest, TheLibraryOffersThePicturesTheToolkitReads)
{
    const QList<QByteArray> readable = QImageReader::supportedImageFormats();
    const QStringList patterns = ImagePickerController::pictureFilePatterns();
    for (const char* format : {"png", "jpg", "jpeg", "gif", "webp"}) {
        EXPECT_EQ(patterns.contains(QStringLiteral("*.") + QString::fromLatin1(format)),
                  readable.contains(QByteArray(format)))
            << format;
    }
    EXPECT_TRUE(patterns.contains(QStringLiteral("*.png")));
    EXPECT_FALSE(patterns.contains(QStringLiteral("*.bmp"))) << "pictures the forum takes, not every format";

    ImagePickerStub sources(true, false);
    EXPECT_EQ(ImagePickerController::availableMediaTypesForSourceType(ImagePickerSourceType::PhotoLibrary),
              QStringList{ImagePickerController::kMediaTypeImage});
    EXPECT_TRUE(ImagePickerController::availableMediaTypesForSourceType(ImagePickerSourceType::Camera).isEmpty());
}

TEST_F(ImagePickerTest, TheChooserOpensOnScreenAndItsFirstAnswerCounts)
{
    ImagePickerStub stub;
    Recorder recorder;
    const QString path = folder.filePath(QStringLiteral("sky.png"));
    ASSERT_TRUE(ImagePickerStub::writePicture(path, QSize(30, 20), Qt::blue));

    std::shared_ptr<ImagePickerController> picker = present(recorder);
    EXPECT_EQ(stub.asked, 0) << "not before the picker is on screen";
    finishMoving();
    ASSERT_TRUE(stub.isAsking());
    EXPECT_EQ(stub.askedOver, window.get());
    ASSERT_EQ(stub.askedFilters.size(), 1);
    EXPECT_TRUE(stub.askedFilters[0].startsWith(QStringLiteral("Pictures (*.png")));
    EXPECT_EQ(screen->modalViewController(), picker.get());

    stub.choose(path);
    ASSERT_EQ(recorder.log, QStringList({QStringLiteral("picked")}));
    EXPECT_EQ(recorder.last.mediaType, QStringLiteral("public.image"));
    EXPECT_EQ(recorder.last.referencePath, path);
    EXPECT_EQ(recorder.last.originalImage.width(), 30);
    EXPECT_EQ(recorder.last.originalImage.qimage().pixelColor(5, 5), QColor(Qt::blue));
    // A second answer counts for nothing.
    picker->finishWithFile(path);
    picker->cancel();
    EXPECT_EQ(recorder.log, QStringList({QStringLiteral("picked")}));
    finishMoving();
    EXPECT_EQ(screen->modalViewController(), nullptr);
    EXPECT_EQ(stub.asked, 1);
}

TEST_F(ImagePickerTest, GivingUpAFileThatIsNoPictureAndAnAnswerAfterThePickerWent)
{
    ImagePickerStub stub;
    Recorder recorder;

    // Giving up cancels; by default the picker then goes.
    std::shared_ptr<ImagePickerController> picker = present(recorder);
    finishMoving();
    stub.choose(QString());
    EXPECT_EQ(recorder.log, QStringList({QStringLiteral("cancelled")}));
    finishMoving();
    EXPECT_EQ(screen->modalViewController(), nullptr);

    // A file that is no picture comes back without one, for the delegate to say so.
    const QString notes = folder.filePath(QStringLiteral("notes.png"));
    QFile file(notes);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("these are words, not a picture");
    file.close();
    recorder.log.clear();
    picker = present(recorder);
    finishMoving();
    stub.choose(notes);
    ASSERT_EQ(recorder.log, QStringList({QStringLiteral("picked")}));
    EXPECT_TRUE(recorder.last.originalImage.isNull());
    EXPECT_EQ(recorder.last.referencePath, notes);
    finishMoving();

    // The chooser answering when its picker has long gone reaches nobody.
    recorder.log.clear();
    picker = present(recorder);
    finishMoving();
    auto late = stub.takeAnswer();
    ASSERT_TRUE(late);
    screen->dismissModalViewControllerAnimated(false);
    picker.reset();
    turnEventLoop();
    late(notes);
    EXPECT_TRUE(recorder.log.isEmpty());

    // A picker whose delegate went (its screen was swapped away) does not
    // stay up once answered.
    {
        auto gone = std::make_unique<Recorder>();
        picker = present(*gone);
    }
    finishMoving();
    ASSERT_EQ(screen->modalViewController(), picker.get());
    stub.choose(folder.filePath(QStringLiteral("sky.png")));
    finishMoving();
    EXPECT_EQ(screen->modalViewController(), nullptr);
}

#include "platform/ui/ImagePickerController.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/CameraView.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/Window.h"

#include <QDir>
#include <QFileDialog>
#include <QImageReader>
#include <QStandardPaths>

namespace {

ImagePickerController::SourceProbe& sourceProbe()
{
    static ImagePickerController::SourceProbe probe;
    return probe;
}

ImagePickerController::FileChooser& fileChooser()
{
    static ImagePickerController::FileChooser chooser;
    return chooser;
}

// The toolkit's file chooser, modal over the window; it answers once.
void chooseWithDialog(QWidget* window, const QString& title, const QStringList& nameFilters,
                      const std::function<void(const QString&)>& answer)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!QDir(folder).exists())
        folder = QDir::homePath();
    auto* dialog = new QFileDialog(window, title, folder);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilters(nameFilters);
    dialog->setWindowModality(Qt::WindowModal);
    auto answered = std::make_shared<bool>(false);
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog, [answer, answered](const QString& path) {
        if (!std::exchange(*answered, true))
            answer(path);
    });
    QObject::connect(dialog, &QDialog::rejected, dialog, [answer, answered]() {
        if (!std::exchange(*answered, true))
            answer(QString());
    });
    dialog->open();
}

const QColor kBackdrop(0x10, 0x24, 0x47);

}  // namespace

void ImagePickerControllerDelegate::imagePickerControllerDidCancel(ImagePickerController* picker)
{
    if (picker)
        picker->dismissModalViewControllerAnimated(true);
}

bool ImagePickerController::isSourceTypeAvailable(ImagePickerSourceType source)
{
    if (const SourceProbe& probe = sourceProbe())
        return probe(source);
    if (source == ImagePickerSourceType::Camera)
        return CameraView::machineHasCamera();
    return !pictureFilePatterns().isEmpty();
}

QStringList ImagePickerController::availableMediaTypesForSourceType(ImagePickerSourceType source)
{
    return isSourceTypeAvailable(source) ? QStringList{kMediaTypeImage} : QStringList();
}

QStringList ImagePickerController::pictureFilePatterns()
{
    const QList<QByteArray> readable = QImageReader::supportedImageFormats();
    QStringList patterns;
    for (const char* format : {"png", "jpg", "jpeg", "gif", "webp"}) {
        if (readable.contains(QByteArray(format)))
            patterns.append(QStringLiteral("*.") + QString::fromLatin1(format));
    }
    return patterns;
}

void ImagePickerController::setSourceProbe(SourceProbe probe)
{
    sourceProbe() = std::move(probe);
}

void ImagePickerController::setFileChooser(FileChooser chooser)
{
    fileChooser() = std::move(chooser);
}

ImagePickerController::ImagePickerController() = default;

ImagePickerController::~ImagePickerController() = default;

void ImagePickerController::buildNib(View* root)
{
    root->setBackgroundColor(kBackdrop);
    const QRectF area = root->bounds();
    m_caption = new Label(QRectF(20, area.height() / 2 - 40, area.width() - 40, 80));
    m_caption->setFont(Font::boldSystemFontOfSize(17));
    m_caption->setTextColor(Qt::white);
    m_caption->setBackgroundColor(Qt::transparent);
    m_caption->setOpaque(false);
    m_caption->setTextAlignment(TextAlignment::Center);
    m_caption->setNumberOfLines(0);
    m_caption->setAutoresizingMask(Autoresizing::FlexibleWidth | Autoresizing::FlexibleTopMargin
                                   | Autoresizing::FlexibleBottomMargin);
    if (m_sourceType != ImagePickerSourceType::Camera) {
        m_caption->setText(QStringLiteral("Choose a picture in the window over this one."));
        root->addSubview(m_caption);
        return;
    }
    m_camera = new CameraView(QRectF(0, 0, area.width(), area.height() - Toolbar::kHeight));
    m_camera->setAutoresizingMask(Autoresizing::FlexibleSize);
    m_camera->onPicture = [this](const QImage& picture) { finishWithImage(Image(picture)); };
    m_camera->onError = [this](const QString& message) {
        m_caption->setText(message);
        m_caption->setHidden(false);
    };
    root->addSubview(m_camera);
    m_caption->setHidden(true);
    root->addSubview(m_caption);
    m_bar = new Toolbar(QRectF(0, area.height() - Toolbar::kHeight, area.width(), Toolbar::kHeight));
    m_bar->setAutoresizingMask(Autoresizing::FlexibleWidth | Autoresizing::FlexibleTopMargin);
    m_bar->setItems({BarButtonItem::withSystemItem(BarButtonSystemItem::Cancel, this, &ImagePickerController::cancel),
                     BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace),
                     BarButtonItem::withTitle(QStringLiteral("Take Photo"), BarButtonItemStyle::Done, this,
                                              &ImagePickerController::takePicture)});
    root->addSubview(m_bar);
}

void ImagePickerController::viewDidAppear(bool)
{
    if (m_sourceType == ImagePickerSourceType::Camera) {
        if (m_camera)
            m_camera->start();
        return;
    }
    if (!m_libraryOpened) {
        m_libraryOpened = true;
        openLibrary();
    }
}

void ImagePickerController::viewWillDisappear(bool)
{
    if (m_camera)
        m_camera->stop();
}

void ImagePickerController::openLibrary()
{
    const QString filter = QStringLiteral("Pictures (%1)").arg(pictureFilePatterns().join(u' '));
    // The answer may come when the picker has long gone.
    std::weak_ptr<ViewController> weak = weak_from_this();
    auto answer = [weak](const QString& path) {
        if (auto self = std::dynamic_pointer_cast<ImagePickerController>(weak.lock()))
            self->finishWithFile(path);
    };
    QWidget* window = Window::keyWindow();
    if (const FileChooser& chooser = fileChooser())
        chooser(window, QStringLiteral("Choose a Picture"), {filter}, answer);
    else
        chooseWithDialog(window, QStringLiteral("Choose a Picture"), {filter}, answer);
}

void ImagePickerController::finishWithFile(const QString& path)
{
    if (path.isEmpty()) {
        cancel();
        return;
    }
    if (m_answered)
        return;
    m_answered = true;
    // A file the toolkit cannot read comes back as a null picture, for the
    // delegate to say so.
    deliver(ImagePickerMedia{kMediaTypeImage, Image::fromFile(path), path});
}

void ImagePickerController::finishWithImage(const Image& image)
{
    if (m_answered || image.isNull())
        return;
    m_answered = true;
    deliver(ImagePickerMedia{kMediaTypeImage, image, QString()});
}

void ImagePickerController::deliver(const ImagePickerMedia& media)
{
    const std::shared_ptr<ViewController> guard = weak_from_this().lock();
    if (ImagePickerControllerDelegate* d = m_delegate.get())
        d->didFinishPickingMediaWithInfo(this, media);
    else
        // Whoever asked has gone: the picker does not stay up for nobody.
        dismissModalViewControllerAnimated(true);
}

void ImagePickerController::cancel()
{
    if (m_answered)
        return;
    m_answered = true;
    const std::shared_ptr<ViewController> guard = weak_from_this().lock();
    if (ImagePickerControllerDelegate* d = m_delegate.get())
        d->imagePickerControllerDidCancel(this);
    else
        dismissModalViewControllerAnimated(true);
}

void ImagePickerController::takePicture()
{
    if (m_camera)
        m_camera->takePicture();
}

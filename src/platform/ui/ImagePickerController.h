#pragma once

#include "platform/ui/ImagePickerControllerDelegate.h"
#include "platform/ui/ImagePickerSourceType.h"
#include "platform/ui/ViewController.h"

#include <QString>
#include <QStringList>

#include <functional>

class CameraView;
class Label;
class QWidget;
class Toolbar;

// The platform's picture picker, presented modally over a screen. The
// library is a file chooser limited to the pictures the toolkit reads (PNG,
// JPEG, GIF, WebP, as far as it has their readers), opened over the window as
// soon as the picker is on screen; the camera, where the machine has one,
// shows what it sees and takes one still picture. The delegate is told once,
// of the picture or of the cancel, and dismisses the picker.
class ImagePickerController : public ViewController {
public:
    // The one media type the picker knows: still pictures.
    static inline const QString kMediaTypeImage = QStringLiteral("public.image");

    // The library wherever the toolkit reads one of the picture formats; the
    // camera where the machine has a video input.
    static bool isSourceTypeAvailable(ImagePickerSourceType source);
    // ("public.image") for a source that can be used, else none.
    static QStringList availableMediaTypesForSourceType(ImagePickerSourceType source);
    // The file patterns the library offers ("*.png", "*.jpg"...).
    static QStringList pictureFilePatterns();

    // Which sources exist, in place of asking the machine (tests); null
    // asks the machine again.
    using SourceProbe = std::function<bool(ImagePickerSourceType source)>;
    static void setSourceProbe(SourceProbe probe);
    // Asks for one file over the window and answers, once, with its path or
    // with an empty text when the user gave up. Null: the toolkit's file
    // chooser (tests answer in its place).
    using FileChooser = std::function<void(QWidget* window, const QString& title, const QStringList& nameFilters,
                                           std::function<void(const QString& path)> answer)>;
    static void setFileChooser(FileChooser chooser);

    ImagePickerController();
    ~ImagePickerController() override;

    ImagePickerSourceType sourceType() const { return m_sourceType; }
    void setSourceType(ImagePickerSourceType source) { m_sourceType = source; }
    // The media types to offer; pictures only ("public.image") by default.
    QStringList mediaTypes() const { return m_mediaTypes; }
    void setMediaTypes(const QStringList& types) { m_mediaTypes = types; }
    ImagePickerControllerDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(ImagePickerControllerDelegate* delegate)
    {
        m_delegate = WeakRef<ImagePickerControllerDelegate>(delegate);
    }

    void buildNib(View* root) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // The user's answers: a file chosen in the library (read now), a picture
    // taken, or giving up. Only the first answer counts.
    void finishWithFile(const QString& path);
    void finishWithImage(const Image& image);
    void cancel();
    // Takes the camera's picture (the camera's button).
    void takePicture();

    bool hasAnswered() const { return m_answered; }
    Label* caption() const { return m_caption; }
    CameraView* cameraView() const { return m_camera; }

private:
    void openLibrary();
    // To the delegate, which dismisses the picker; without one it goes itself.
    void deliver(const ImagePickerMedia& media);

    ImagePickerSourceType m_sourceType = ImagePickerSourceType::PhotoLibrary;
    QStringList m_mediaTypes{kMediaTypeImage};
    WeakRef<ImagePickerControllerDelegate> m_delegate;
    Label* m_caption = nullptr;
    CameraView* m_camera = nullptr;
    Toolbar* m_bar = nullptr;
    bool m_libraryOpened = false;
    bool m_answered = false;
};

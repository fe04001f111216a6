#pragma once

#include "app/navigation/SelectImageDelegate.h"

#include "platform/ui/ActionSheet.h"
#include "platform/ui/ImagePickerControllerDelegate.h"
#include "platform/ui/ImagePickerSourceType.h"

#include <QPointer>
#include <QString>

#include <memory>

class ImagePickerController;
class View;
class ViewController;

// The front of the picture picker: offers the library and the camera (a
// choice sheet when both can be used, the one source at once when only one
// can, an alert when none can) and hands the picked picture back to its
// delegate as an upload image. A file that is no picture, or a picture that
// cannot be made ready, is refused with an alert and nothing is handed back.
// The screen that wants a picture makes one and keeps it while the picker is
// up.
class SelectImage : public ActionSheetDelegate,
                    public ImagePickerControllerDelegate,
                    public std::enable_shared_from_this<SelectImage> {
public:
    static inline const QString kMediaTypeImage = QStringLiteral("public.image");
    // The choice sheet's buttons.
    static constexpr int kLibraryButton = 0;
    static constexpr int kCameraButton = 1;

    SelectImage();
    ~SelectImage() override;

    SelectImageDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(SelectImageDelegate* delegate) { m_delegate = WeakRef<SelectImageDelegate>(delegate); }
    // The screen the picker is shown over; not owned.
    ViewController* controller() const { return m_controller.get(); }
    void setController(ViewController* controller) { m_controller = WeakRef<ViewController>(controller); }
    // What a source must offer to be used ("public.image").
    QString mediaType() const { return m_mediaType; }
    void setMediaType(const QString& type) { m_mediaType = type; }
    // Kept by the upload image (0: its own default).
    float imageHeight() const { return m_imageHeight; }
    void setImageHeight(float height) { m_imageHeight = height; }

    // Offers the sources in the view.
    void showInView(View* view);
    void showCamera();
    void showGallery();

    void clickedButtonAtIndex(ActionSheet* actionSheet, int buttonIndex) override;
    void didFinishPickingMediaWithInfo(ImagePickerController* picker, const ImagePickerMedia& info) override;
    void imagePickerControllerDidCancel(ImagePickerController* picker) override;

    // The choice sheet and the picker while they are up.
    ActionSheet* actionSheet() const { return m_sheet.data(); }
    ImagePickerController* picker() const { return m_picker.lock().get(); }

private:
    bool canUse(ImagePickerSourceType source) const;
    void present(ImagePickerSourceType source);
    void dismiss(ImagePickerController* picker);
    // Nothing is handed back: the alert says why, the delegate hears of no picture.
    void refuse(const char* messageKey);

    WeakRef<SelectImageDelegate> m_delegate;
    WeakRef<ViewController> m_controller;
    QString m_mediaType = kMediaTypeImage;
    float m_imageHeight = 0.0f;
    QPointer<ActionSheet> m_sheet;
    std::weak_ptr<ImagePickerController> m_picker;
};

using SelectImagePtr = std::shared_ptr<SelectImage>;

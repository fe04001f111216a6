#include "app/navigation/SelectImage.h"

#include "app/media/ImageToUpload.h"

#include "platform/ui/ImagePickerController.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Localized.h"

SelectImage::SelectImage() = default;

SelectImage::~SelectImage()
{
    // A sheet still up answers nobody.
    if (m_sheet)
        m_sheet->setDelegate(nullptr);
    if (const auto picker = m_picker.lock())
        picker->setDelegate(nullptr);
}

bool SelectImage::canUse(ImagePickerSourceType source) const
{
    return ImagePickerController::availableMediaTypesForSourceType(source).contains(m_mediaType);
}

void SelectImage::showInView(View* view)
{
    const bool camera = canUse(ImagePickerSourceType::Camera);
    const bool library = canUse(ImagePickerSourceType::PhotoLibrary);
    if (camera && library) {
        auto* sheet = new ActionSheet(QString(), this, localized("cancel"), QString(),
                                      {localized("add_image"), localized("take_photo")});
        m_sheet = sheet;
        sheet->showInView(view);
    } else if (library) {
        showGallery();
    } else if (camera) {
        showCamera();
    } else {
        AlertView::create(QString(), localized("data_type"), nullptr, {localized("OK")})->show();
    }
}

void SelectImage::showCamera()
{
    present(ImagePickerSourceType::Camera);
}

void SelectImage::showGallery()
{
    present(ImagePickerSourceType::PhotoLibrary);
}

void SelectImage::present(ImagePickerSourceType source)
{
    ViewController* over = m_controller.get();
    if (!over)
        return;
    auto picker = std::make_shared<ImagePickerController>();
    picker->setSourceType(source);
    picker->setMediaTypes({m_mediaType});
    picker->setDelegate(this);
    m_picker = picker;
    over->presentModalViewController(picker, true);
}

void SelectImage::clickedButtonAtIndex(ActionSheet* actionSheet, int buttonIndex)
{
    if (actionSheet != m_sheet.data())
        return;
    if (buttonIndex == kLibraryButton)
        showGallery();
    else if (buttonIndex == kCameraButton)
        showCamera();
}

void SelectImage::didFinishPickingMediaWithInfo(ImagePickerController* picker, const ImagePickerMedia& info)
{
    // The delegate may let this object go while it is told.
    const std::shared_ptr<SelectImage> guard = weak_from_this().lock();
    if (info.originalImage.isNull()) {
        dismiss(picker);
        refuse("image_unreadable");
        return;
    }
    auto image = std::make_shared<ImageToUpload>(info.originalImage, m_imageHeight);
    // A picture whose file could not be written has nothing to send.
    if (image->thumbnail().isNull()) {
        dismiss(picker);
        refuse("image_not_prepared");
        return;
    }
    if (SelectImageDelegate* d = m_delegate.get())
        d->imageWasSelected(image, this);
    dismiss(picker);
}

void SelectImage::imagePickerControllerDidCancel(ImagePickerController* picker)
{
    const std::shared_ptr<SelectImage> guard = weak_from_this().lock();
    if (SelectImageDelegate* d = m_delegate.get())
        d->selectImageWasCancelled(this);
    dismiss(picker);
}

void SelectImage::dismiss(ImagePickerController* picker)
{
    if (ViewController* over = m_controller.get(); over && over->modalViewController() == picker)
        over->dismissModalViewControllerAnimated(true);
    else if (picker)
        picker->dismissModalViewControllerAnimated(true);
}

void SelectImage::refuse(const char* messageKey)
{
    AlertView::create(QString(), localized(messageKey), nullptr, {localized("ok")})->show();
    if (SelectImageDelegate* d = m_delegate.get())
        d->selectImageWasCancelled(this);
}

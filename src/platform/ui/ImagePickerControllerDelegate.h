#pragma once

#include "platform/ui/ImagePickerMedia.h"

#include "platform/foundation/Trackable.h"

class ImagePickerController;

// Told of the picture picked or taken, or that the user gave up; the
// delegate dismisses the picker.
class ImagePickerControllerDelegate : public virtual Trackable {
public:
    virtual void didFinishPickingMediaWithInfo(ImagePickerController* picker, const ImagePickerMedia& info) = 0;
    // By default the picker is dismissed.
    virtual void imagePickerControllerDidCancel(ImagePickerController* picker);
};

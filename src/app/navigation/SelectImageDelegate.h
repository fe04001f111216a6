#pragma once

#include "platform/foundation/Trackable.h"

#include <memory>

class ImageToUpload;
class SelectImage;

// Told of the picture the user picked, ready to upload.
class SelectImageDelegate : public virtual Trackable {
public:
    virtual void imageWasSelected(const std::shared_ptr<ImageToUpload>& image, SelectImage* selectImage) = 0;
    // Nothing was picked (given up, or a file that is no picture); optional.
    virtual void selectImageWasCancelled(SelectImage* selectImage) {}
};

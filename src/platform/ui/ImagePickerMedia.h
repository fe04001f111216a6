#pragma once

#include "platform/foundation/Image.h"

#include <QString>

// What the picture picker hands back: the kind of media ("public.image"), the
// picture as it was stored or taken (its orientation tag not applied), and for
// a file from the library the file's path. A chosen file that is no picture
// the toolkit reads comes back with a null picture.
struct ImagePickerMedia {
    QString mediaType;
    Image originalImage;
    QString referencePath;
};

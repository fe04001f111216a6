#pragma once

// Where the picture picker takes its picture from; the platform's numbering.
enum class ImagePickerSourceType {
    PhotoLibrary = 0,
    Camera = 1,
    SavedPhotosAlbum = 2,
};

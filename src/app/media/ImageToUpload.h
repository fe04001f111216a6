#pragma once

#include "platform/foundation/Image.h"

#include <QString>

// A picked or taken picture made ready for an upload: an upright JPEG file in
// the temporary folder and a small upright thumbnail to show what will be
// sent. The object owns its file: the file goes when the object goes, so
// whoever attaches it to a request keeps the object until the file is read.
class ImageToUpload {
public:
    // JPEG quality of the file, and the longer side of the thumbnail at most.
    static constexpr double JpegQuality = 0.7;
    static constexpr float ThumbnailMaximum = 320.0f;

    // The height is kept in maxHeight (50 when not above 0); the preparation
    // does not depend on it.
    explicit ImageToUpload(const Image& image, float height = 0.0f);
    ~ImageToUpload();

    ImageToUpload(const ImageToUpload&) = delete;
    ImageToUpload& operator=(const ImageToUpload&) = delete;

    // Replaces the file (the old one is removed first) and the thumbnail; a
    // null picture changes nothing.
    void setImage(const Image& image);

    // The file, null until a picture has been set. When writing failed it
    // names no file and the thumbnail is null.
    const QString& path() const { return m_path; }
    const Image& thumbnail() const { return m_thumbnail; }
    float maxHeight() const { return m_maxHeight; }

    // The picture upright at full size.
    static Image rotateImage(const Image& image);
    // The picture upright, scaled so that neither side of the stored bitmap
    // exceeds the maximum (0 or less: no limit).
    static Image scaleAndRotateImage(const Image& image, float maxResolution);

private:
    void releaseFile();

    float m_maxHeight = 0.0f;
    Image m_thumbnail;
    QString m_path;
};

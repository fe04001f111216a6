#pragma once

#include "platform/ui/TableViewCell.h"

#include <QSizeF>

#include <memory>

class ImageView;
class ImageToUpload;

// A row of the editor's list of pictures to send: the picture's thumbnail,
// 50 points high and as wide as its proportions make it, centred a little to
// the left of the row's middle. A picture without a thumbnail (or without a
// height) shows nothing.
class CreateContentMediaPreview : public TableViewCell {
    Q_OBJECT
public:
    static constexpr qreal kThumbnailHeight = 50;
    static constexpr qreal kLeftShift = 10;

    CreateContentMediaPreview();
    ~CreateContentMediaPreview() override;

    void setPreview(const std::shared_ptr<ImageToUpload>& image);
    ImageView* thumbnail() const { return m_thumbnail; }

    void layoutSubviews() override;

private:
    // Where the thumbnail goes in a row of this size.
    QRectF thumbnailFrame(const QSizeF& row) const;

    ImageView* m_thumbnail;
    QSizeF m_pictureSize;
};

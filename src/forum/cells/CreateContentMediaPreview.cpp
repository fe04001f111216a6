#include "forum/cells/CreateContentMediaPreview.h"

#include "app/media/ImageToUpload.h"

#include "platform/ui/ImageView.h"

CreateContentMediaPreview::CreateContentMediaPreview()
    : TableViewCell(TableViewCellStyle::Default), m_thumbnail(new ImageView(QRectF()))
{
    m_thumbnail->setContentMode(ContentMode::ScaleToFill);
    m_thumbnail->setHidden(true);
    // Placed in the row's own coordinates, whatever the content's inset.
    addSubview(m_thumbnail);
    setSelectionStyle(TableViewCellSelectionStyle::None);
}

CreateContentMediaPreview::~CreateContentMediaPreview() = default;

void CreateContentMediaPreview::setPreview(const std::shared_ptr<ImageToUpload>& image)
{
    const Image picture = image ? image->thumbnail() : Image();
    m_pictureSize = picture.isNull() ? QSizeF() : QSizeF(picture.width(), picture.height());
    // Nothing to show, and no proportions to keep, without a height.
    const bool shown = m_pictureSize.width() > 0 && m_pictureSize.height() > 0;
    m_thumbnail->setImage(shown ? picture.qimage() : QImage());
    m_thumbnail->setHidden(!shown);
    m_thumbnail->setFrame(thumbnailFrame(bounds().size()));
}

QRectF CreateContentMediaPreview::thumbnailFrame(const QSizeF& row) const
{
    if (!(m_pictureSize.width() > 0 && m_pictureSize.height() > 0))
        return QRectF();
    const qreal width = kThumbnailHeight * m_pictureSize.width() / m_pictureSize.height();
    return QRectF((row.width() - width) / 2 - kLeftShift, (row.height() - kThumbnailHeight) / 2, width,
                  kThumbnailHeight);
}

void CreateContentMediaPreview::layoutSubviews()
{
    TableViewCell::layoutSubviews();
    m_thumbnail->setFrame(thumbnailFrame(bounds().size()));
}

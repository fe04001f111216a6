#pragma once

#include "app/model/ModelWithImage.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <memory>

// One attachment of a post: a picture (with its thumbnail) or a file.
class Attachment : public ModelWithImage {
public:
    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    // The attachments of an answer member: one dictionary or a list of them;
    // elements of any other kind are skipped.
    static QList<std::shared_ptr<Attachment>> attachments(const Value& value);

    QString pictureurl() const { return m_pictureurl; }
    void setPictureurl(const QString& url);
    QString url() const { return m_url; }
    void setUrl(const QString& url);
    QString filesize() const { return m_filesize; }
    void setFilesize(const QString& size) { m_filesize = size; }
    bool hasthumbnail() const { return m_hasthumbnail; }
    void setHasthumbnail(bool has) { m_hasthumbnail = has; }
    qint32 attachmentid() const { return m_attachmentid; }
    void setAttachmentid(qint32 id) { m_attachmentid = id; }
    QString filename() const { return m_filename; }
    void setFilename(const QString& name) { m_filename = name; }
    QString thumbnail_dateline() const { return m_thumbnailDateline; }
    void setThumbnail_dateline(const QString& dateline) { m_thumbnailDateline = dateline; }
    QString capital() const { return m_capital; }
    void setCapital(const QString& caption) { m_capital = caption; }
    bool caption_preview() const { return m_captionPreview; }
    void setCaption_preview(bool preview) { m_captionPreview = preview; }
    // A nested "attachment" dictionary is applied like the element itself.
    void setAttachment(const Value& nested);

    // Where a tap on the attachment leads: its address (for a picture
    // without one, the picture's), "&amp;" read as "&", against the forum's
    // address; an empty address without either.
    QUrl linkURL(bool orPicture) const;

private:
    // picurl: pictureurl, else url, with "&amp;" turned into "&".
    void updatePicurl();

    QString m_pictureurl;
    QString m_url;
    QString m_filesize;
    bool m_hasthumbnail = false;
    qint32 m_attachmentid = 0;
    QString m_filename;
    QString m_thumbnailDateline;
    QString m_capital;
    bool m_captionPreview = false;
    int m_nesting = 0;
};

using AttachmentPtr = std::shared_ptr<Attachment>;
using AttachmentList = QList<AttachmentPtr>;

#include "forum/model/Attachment.h"

#include "app/model/Config.h"
#include "forum/model/AnswerShape.h"
#include "platform/foundation/StringExtensions.h"

const PropertyTable& Attachment::propertyTable()
{
    static const PropertyTable table =
        PropertyTable(&ModelWithImage::propertyTable())
            .text("pictureurl", &Attachment::pictureurl, &Attachment::setPictureurl)
            .text("url", &Attachment::url, &Attachment::setUrl)
            .text("filesize", &Attachment::filesize, &Attachment::setFilesize)
            .boolean("hasthumbnail", &Attachment::hasthumbnail, &Attachment::setHasthumbnail)
            .integer("attachmentid", &Attachment::attachmentid, &Attachment::setAttachmentid)
            .text("filename", &Attachment::filename, &Attachment::setFilename)
            .text("thumbnail_dateline", &Attachment::thumbnail_dateline, &Attachment::setThumbnail_dateline)
            .text("capital", &Attachment::capital, &Attachment::setCapital)
            .boolean("caption_preview", &Attachment::caption_preview, &Attachment::setCaption_preview)
            .setterOnly("attachment", &Attachment::setAttachment);
    return table;
}

AttachmentList Attachment::attachments(const Value& value)
{
    AttachmentList list;
    for (const Value& element : AnswerShape::dictionariesOf(value))
        list.append(Model::createWithDictionary<Attachment>(element));
    return list;
}

void Attachment::setPictureurl(const QString& url)
{
    m_pictureurl = url;
    updatePicurl();
}

void Attachment::setUrl(const QString& url)
{
    m_url = url;
    updatePicurl();
}

void Attachment::updatePicurl()
{
    const QString& address = m_pictureurl.isNull() ? m_url : m_pictureurl;
    setPicurl(address.isNull() ? QString() : StringExtensions::replaceAmpersands(address));
}

QUrl Attachment::linkURL(bool orPicture) const
{
    const QString address = m_url.isEmpty() && orPicture ? picurl() : m_url;
    if (address.isEmpty())
        return QUrl();
    return Config::getInstance().imageURLWithString(QString()).resolved(
        QUrl(StringExtensions::replaceAmpersands(address)));
}

void Attachment::setAttachment(const Value& nested)
{
    const AnswerShape::NestingLevel level(m_nesting);
    if (!level.tooDeep())
        setDictionary(nested);
}

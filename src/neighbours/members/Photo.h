#pragma once

#include "app/model/Model.h"
#include "neighbours/members/PhotoAlbum.h"

#include <memory>

// One photo of an album, known by its attachment id.
class Photo : public Model {
public:
    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    qint32 attachmentid() const { return m_attachmentid; }
    void setAttachmentid(qint32 attachmentid) { m_attachmentid = attachmentid; }
    const std::shared_ptr<PhotoAlbum>& album() const { return m_album; }
    void setAlbum(const std::shared_ptr<PhotoAlbum>& album) { m_album = album; }

private:
    qint32 m_attachmentid = 0;
    std::shared_ptr<PhotoAlbum> m_album;
};

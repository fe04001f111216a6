#pragma once

#include "app/model/Model.h"

// A member's photo album, known by its id.
class PhotoAlbum : public Model {
public:
    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    qint32 albumid() const { return m_albumid; }
    void setAlbumid(qint32 albumid) { m_albumid = albumid; }

private:
    qint32 m_albumid = 0;
};

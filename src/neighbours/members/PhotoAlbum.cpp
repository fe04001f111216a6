#include "neighbours/members/PhotoAlbum.h"

const PropertyTable& PhotoAlbum::propertyTable()
{
    static const PropertyTable table =
        PropertyTable(&Model::propertyTable()).integer("albumid", &PhotoAlbum::albumid, &PhotoAlbum::setAlbumid);
    return table;
}

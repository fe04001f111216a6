#include "neighbours/members/Photo.h"

const PropertyTable& Photo::propertyTable()
{
    static const PropertyTable table =
        PropertyTable(&Model::propertyTable()).integer("attachmentid", &Photo::attachmentid, &Photo::setAttachmentid);
    return table;
}

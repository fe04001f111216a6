#include "forum/model/Notice.h"

#include "forum/model/AnswerShape.h"

const PropertyTable& Notice::propertyTable()
{
    static const PropertyTable table = PropertyTable(&Model::propertyTable())
                                           .text("notice_plain", &Notice::notice_plain, &Notice::setNotice_plain)
                                           .integer("_noticeid", &Notice::_noticeid, &Notice::set_noticeid)
                                           .setterOnly("notification", &Notice::setNotification);
    return table;
}

void Notice::setNotification(const Value& nested)
{
    const AnswerShape::NestingLevel level(m_nesting);
    if (!level.tooDeep())
        setDictionary(nested);
}

#include "ModelTestSupport.h"

const PropertyTable& SampleModel::propertyTable()
{
    static const PropertyTable table = PropertyTable(&Model::propertyTable())
                                           .integer("count", &SampleModel::count, &SampleModel::setCount)
                                           .int64("big", &SampleModel::big, &SampleModel::setBig)
                                           .uint64("ubig", &SampleModel::ubig, &SampleModel::setUbig)
                                           .real("ratio", &SampleModel::ratio, &SampleModel::setRatio)
                                           .real32("scale", &SampleModel::scale, &SampleModel::setScale)
                                           .boolean("flag", &SampleModel::flag, &SampleModel::setFlag)
                                           .text("name", &SampleModel::name, &SampleModel::setName)
                                           .object("payload", &SampleModel::payload, &SampleModel::setPayload)
                                           .object("extras", &SampleModel::extras, &SampleModel::setExtras, true)
                                           .text("secret", &SampleModel::secret, &SampleModel::setSecret)
                                           .notArchived("secret")
                                           .setterOnly("user", &SampleModel::setUser)
                                           .secondName("nick", "name");
    return table;
}

const PropertyTable& DerivedModel::propertyTable()
{
    static const PropertyTable table = PropertyTable(&SampleModel::propertyTable())
                                           .text("title", &DerivedModel::title, &DerivedModel::setTitle)
                                           .integer("derivedmodelid", &DerivedModel::derivedmodelid,
                                                    &DerivedModel::setDerivedmodelid);
    return table;
}

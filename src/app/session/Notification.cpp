#include "app/session/Notification.h"

const PropertyTable& Notification::propertyTable()
{
    static const PropertyTable table = PropertyTable(&Model::propertyTable())
                                           .text("phrase", &Notification::phrase, &Notification::setPhrase)
                                           .integer("total", &Notification::total, &Notification::setTotal)
                                           .text("name", &Notification::name, &Notification::setName)
                                           .setterOnly("notification", &Notification::setNotification);
    return table;
}

void Notification::setNotification(const Value& notification)
{
    setDictionary(notification);
}

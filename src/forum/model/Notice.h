#pragma once

#include "app/model/Model.h"

#include <QString>

#include <memory>

// A short forum-wide text for the member, shown on the home screen until
// the member dismisses it.
class Notice : public Model {
public:
    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    QString notice_plain() const { return m_noticePlain; }
    void setNotice_plain(const QString& text) { m_noticePlain = text; }
    qint32 _noticeid() const { return m_noticeid; }
    void set_noticeid(qint32 id) { m_noticeid = id; }
    // A nested "notification" dictionary is applied like the element itself.
    void setNotification(const Value& nested);

private:
    QString m_noticePlain;
    qint32 m_noticeid = 0;
    int m_nesting = 0;
};

using NoticePtr = std::shared_ptr<Notice>;

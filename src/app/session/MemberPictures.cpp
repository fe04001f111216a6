#include "app/session/MemberPictures.h"

#include "app/media/ImageToUpload.h"
#include "app/net/ApiRequest.h"
#include "app/session/CurrentUser.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/TextFormat.h"

#include <QFile>

namespace {

QByteArray readFile(const QString& path, bool* ok)
{
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    return *ok ? file.readAll() : QByteArray();
}

}  // namespace

MemberPictures::MemberPictures(CurrentUser* user)
    : m_user(user)
{
}

QString MemberPictures::registrationPicturePath(const QString& username)
{
    // The name is the member's own choice: no separator and no leading dot
    // may turn it into a path of its own.
    QString name = username;
    for (const QChar forbidden : {QChar(u'/'), QChar(u'\\'), QChar(u'\0')})
        name.replace(forbidden, u'_');
    if (name.startsWith(u'.'))
        name[0] = u'_';
    return Paths::documentsDir() + u'/'
           + TextFormat::fill(QStringLiteral("registration.%@.jpg"), {Value(name)});
}

void MemberPictures::uploadPicture(const ImageToUpload& image)
{
    uploadPictureAtPath(image.path());
}

void MemberPictures::uploadPictureAtPath(const QString& path)
{
    CurrentUser* user = m_user.get();
    if (!user)
        return;
    bool ok = false;
    const QByteArray data = readFile(path, &ok);
    if (!ok) {
        MU_LOG(Log::session, QStringLiteral("The picture to upload cannot be read: ") + path);
        return;
    }
    // The answer goes to the user, which hands it back here.
    user->addRequest(ApiRequest::sendPicture(QStringLiteral("profile_updateprofilepic"), data,
                                             SELECTOR(CurrentUser, finishedUploading), user));
}

void MemberPictures::finishedUploading(const HTTPRequestPtr& request)
{
    CurrentUser* user = m_user.get();
    if (!request || !user)
        return;
    const std::shared_ptr<Model> guard = user->keepAlive();
    // A refused picture stays where it is, so that it can be sent again.
    if (!user->takeAnswer(request))
        return;
    user->fetchInfo();
    const QString pending = registrationPicturePath(user->username());
    if (QFile::exists(pending) && !QFile::remove(pending))
        MU_LOG(Log::session, QStringLiteral("The registration picture could not be removed: ") + pending);
}

void MemberPictures::deleteAvatar()
{
    CurrentUser* user = m_user.get();
    if (!user)
        return;
    const std::shared_ptr<Model> guard = user->keepAlive();
    user->Friend::setAvatarurl(QString());
    user->setAvatar(Image());
    user->requestURL(QStringLiteral("profile_updateavatar"),
                     ValueDict{{QStringLiteral("avatarid"), Value(QStringLiteral("-1"))}}, RequestMethod::POST);
    user->notifyChanged();
}

#pragma once

#include "app/net/HTTPRequest.h"
#include "platform/foundation/WeakRef.h"

#include <QString>

class CurrentUser;
class ImageToUpload;

// The current user's own pictures on the forum: the profile picture sent (the
// one picked at registration waits in the documents folder until it went
// through) and the avatar removed. The user owns it.
class MemberPictures {
public:
    explicit MemberPictures(CurrentUser* user);

    // The pending registration picture of a member, in the documents folder.
    // The name can never lead out of that folder.
    static QString registrationPicturePath(const QString& username);

    void uploadPicture(const ImageToUpload& image);
    void uploadPictureAtPath(const QString& path);
    void finishedUploading(const HTTPRequestPtr& request);
    void deleteAvatar();

private:
    WeakRef<CurrentUser> m_user;
};

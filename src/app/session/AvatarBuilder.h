#pragma once

#include "app/model/Model.h"

#include <memory>

class ImageToUpload;

// Replaces the current user's avatar with a picture the user picked. It keeps
// itself alive from the upload until the answer.
class AvatarBuilder : public Model {
public:
    AvatarBuilder();
    ~AvatarBuilder() override;

    const std::shared_ptr<ImageToUpload>& theNewAvatar() const { return m_newAvatar; }
    void setTheNewAvatar(const std::shared_ptr<ImageToUpload>& avatar) { m_newAvatar = avatar; }

    // A multipart "profile_updateavatar" with the picture's file.
    void upload();
    // "redirect_updatethanks" refreshes the current user's profile, which
    // brings the new avatar; any other answer changes nothing and is told to
    // the observers as a failure.
    void response(const HTTPRequestPtr& request);

    bool isUploading() const { return static_cast<bool>(m_self); }

private:
    std::shared_ptr<ImageToUpload> m_newAvatar;
    std::shared_ptr<Model> m_self;
};

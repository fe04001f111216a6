#pragma once

#include "neighbours/members/PhotoAlbum.h"
#include "neighbours/screens/StandInSectionController.h"

#include <memory>

class AppContext;

// The photos of one album: this application shows no photos, so the screen
// says so.
class PhotoController : public StandInSectionController {
public:
    explicit PhotoController(AppContext& context);

    const std::shared_ptr<PhotoAlbum>& album() const { return m_album; }
    void setAlbum(const std::shared_ptr<PhotoAlbum>& album) { m_album = album; }

private:
    std::shared_ptr<PhotoAlbum> m_album;
};

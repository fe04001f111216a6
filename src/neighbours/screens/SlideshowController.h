#pragma once

#include "neighbours/members/Photo.h"
#include "neighbours/screens/StandInSectionController.h"

#include <memory>

class AppContext;

// The full-screen photo viewer, opened on one photo: this application shows
// no photos, so the screen says so.
class SlideshowController : public StandInSectionController {
public:
    explicit SlideshowController(AppContext& context);

    const std::shared_ptr<Photo>& photo() const { return m_photo; }
    void setPhoto(const std::shared_ptr<Photo>& photo) { m_photo = photo; }

private:
    std::shared_ptr<Photo> m_photo;
};

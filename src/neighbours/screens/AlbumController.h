#pragma once

#include "neighbours/screens/StandInSectionController.h"

class AppContext;

// The member's photo albums, opened from the menu: this application shows no albums, so the screen says so.
class AlbumController : public StandInSectionController {
public:
    explicit AlbumController(AppContext& context);
};

#pragma once

#include "neighbours/screens/StandInSectionController.h"

class AppContext;

// The forum's article list, opened from the menu and by article links: this application lists no articles, so it says so and points to the home screen's feed, where articles open.
class ArticleListController : public StandInSectionController {
public:
    explicit ArticleListController(AppContext& context);
};

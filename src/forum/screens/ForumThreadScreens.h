#pragma once

class AppContext;

// The thread page and the single post screen, by class name
// ("PostController", "PostDetailsController", which takes its post by its
// setter); web pages get their pictures
// from the image cache from then on. main calls it once.
void registerForumThreadScreens(AppContext& context);

#pragma once

class ViewController;

// A settings screen of content published beside the forum (blog entries,
// articles), opened by class name: it answers the composing screen it is
// given, which takes its answer as a BlogSettingsDelegate or an
// ArticleSettingsDelegate.
class PublishSettingsScreen {
public:
    virtual ~PublishSettingsScreen() = default;
    // Not owned.
    virtual void setController(ViewController* controller) = 0;
};

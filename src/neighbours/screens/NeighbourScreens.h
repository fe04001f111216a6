#pragma once

#include <QStringList>

class AppContext;

// The screens of the members', messages', photos', blogs' and articles' parts
// of the forum, by class name: the menu, the home screen and the post screens
// reach them only that way.
class NeighbourScreens {
public:
    // Registers every class below by its name, what some of them take from
    // whoever opens them (a blog entry list, a member, an album, a photo, a
    // profile's section), and the models in-app links name (blog entries and
    // their lists, articles, albums, photos). main calls it once.
    static void registerClasses(AppContext& context);
    // The names registerClasses registers.
    static QStringList classNames();
};

#pragma once

#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

#include <QString>

// A view of a screen by its object name, found as a test finds what a user
// sees: anywhere inside the screen's view. Null when there is none.
template <typename T = View, typename Screen>
T* named(const Screen& screen, const char* name)
{
    if (!screen || !screen->isViewLoaded())
        return nullptr;
    return screen->view()->template findChild<T*>(QString::fromLatin1(name));
}

#pragma once

#include <QStringList>

class AppContext;

// The composing screens and their helpers, which other screens open by class
// name: the new-content, reply and edit screens, the post report, the thread
// prefix list, the forum picker, the one-line prompt and the tag screen;
// with the models the first four are given. main calls it once; calling it
// again changes nothing.
namespace ComposingScreens {
void registerClasses(AppContext& context);
// The class names registered.
QStringList classNames();
}  // namespace ComposingScreens

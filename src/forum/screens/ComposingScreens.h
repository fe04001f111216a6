#pragma once

// The composing screens' helpers that other screens open by class name: the
// forum picker, the one-line prompt and the tag screen. main calls it once;
// calling it again changes nothing.
namespace ComposingScreens {
void registerClasses();
}  // namespace ComposingScreens

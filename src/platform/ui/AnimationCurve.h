#pragma once

// The pace of an animation; the platform's numbering.
enum class AnimationCurve {
    EaseInOut = 0,
    EaseIn = 1,
    EaseOut = 2,
    Linear = 3,
};

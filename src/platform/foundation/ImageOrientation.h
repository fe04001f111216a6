#pragma once

// How the stored bitmap must be turned to show upright. The numbering is the
// platform's own and is part of the picture's stored form.
enum class ImageOrientation {
    Up = 0,
    Down,
    Left,
    Right,
    UpMirrored,
    DownMirrored,
    LeftMirrored,
    RightMirrored,
};

#pragma once

// Horizontal placement of text lines; the platform's numbering.
enum class TextAlignment {
    Left = 0,
    Center = 1,
    Right = 2,
};

#pragma once

// How text that does not fit is wrapped or cut; the platform's numbering.
// The truncating modes still wrap at words over several lines and cut only
// the last line that is shown.
enum class LineBreakMode {
    WordWrap = 0,
    CharacterWrap = 1,
    Clip = 2,
    HeadTruncation = 3,
    TailTruncation = 4,
    MiddleTruncation = 5,
};

#pragma once

// Which of a view's margins and sizes follow its superview's size changes;
// the platform's bits, combined with |.
namespace Autoresizing {
enum Mask : unsigned {
    None = 0,
    FlexibleLeftMargin = 1 << 0,
    FlexibleWidth = 1 << 1,
    FlexibleRightMargin = 1 << 2,
    FlexibleTopMargin = 1 << 3,
    FlexibleHeight = 1 << 4,
    FlexibleBottomMargin = 1 << 5,
    FlexibleSize = FlexibleWidth | FlexibleHeight,
};
}  // namespace Autoresizing

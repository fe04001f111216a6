#pragma once

// What happened to a control, as bits to combine with |; the platform's bits.
namespace ControlEvent {
enum : unsigned {
    TouchDown = 1u << 0,
    TouchDownRepeat = 1u << 1,
    TouchDragInside = 1u << 2,
    TouchDragOutside = 1u << 3,
    TouchDragEnter = 1u << 4,
    TouchDragExit = 1u << 5,
    TouchUpInside = 1u << 6,
    TouchUpOutside = 1u << 7,
    TouchCancel = 1u << 8,
    ValueChanged = 1u << 12,
    EditingDidBegin = 1u << 16,
    EditingChanged = 1u << 17,
    EditingDidEnd = 1u << 18,
    EditingDidEndOnExit = 1u << 19,
    AllEvents = 0xFFFFFFFFu,
};
}  // namespace ControlEvent

// A control's state, as bits; the platform's bits. Normal is no bit.
namespace ControlState {
enum : unsigned {
    Normal = 0,
    Highlighted = 1u << 0,
    Disabled = 1u << 1,
    Selected = 1u << 2,
};
}  // namespace ControlState

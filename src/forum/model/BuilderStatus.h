#pragma once

// Where a builder's send stands (its "requestStatus").
enum class BuilderStatus : int {
    Idle = 0,
    Sending = 1,
    Sent = 2,
    Failed = 3,
};

#pragma once

// When a blog entry or an article goes out.
enum class PublishState : int {
    None = 0,
    PublishNow = 1,
    PublishOn = 2,  // at the chosen publish date
    Draft = 3,
};

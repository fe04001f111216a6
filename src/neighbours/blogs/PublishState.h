#pragma once

#include <QString>

// When a blog entry or an article goes out.
enum class PublishState : int {
    None = 0,
    PublishNow = 1,
    PublishOn = 2,  // at the chosen publish date
    Draft = 3,
};

// What a composer shows of the state: "publish_now", "publish_on" or the
// caller's draft key, localised; the empty text for None.
QString publishStateText(PublishState state, const QString& draftKey);

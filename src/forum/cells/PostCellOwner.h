#pragma once

#include "forum/model/Post.h"

#include "platform/foundation/Trackable.h"

// The screen whose table shows post rows: a collapsed row asks it to show
// its post in full.
class PostCellOwner : public virtual Trackable {
public:
    virtual void showPost(const PostPtr& post) = 0;
};

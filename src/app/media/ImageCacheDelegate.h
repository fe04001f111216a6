#pragma once

#include "platform/foundation/Image.h"
#include "platform/foundation/Trackable.h"

class ImageCache;

// Waits for the picture of an image-cache entry. The entry holds its delegates
// without owning them; one that goes away is simply not told.
class ImageCacheDelegate : public virtual Trackable {
public:
    // A picture has arrived or is already there; it may be null (the answer
    // held no picture and none was known before).
    virtual void hasImage(ImageCache* cache, const Image& image) = 0;
    // The entry has finished handling a full answer: the place to stop
    // listening with removeDelegate.
    virtual void imageCacheHasFinished(ImageCache* cache) = 0;
};

#pragma once

#include "forum/model/Builder.h"

#include <QDateTime>
#include <QString>

#include <memory>

// A builder of content published beside the forum (a blog entry, an
// article), as the composing screen shows its settings: the chosen
// categories, when it is published, and the id of what was sent.
class PublishingBuilder : public Builder {
public:
    ~PublishingBuilder() override = default;

    // The chosen categories' titles joined; the empty text when none is chosen.
    virtual QString getCsvOfSelectedCategorysTitles() const = 0;
    // The text of the publish state; the empty text when none is chosen.
    virtual QString getPublishStatus() const = 0;
    virtual const QDateTime& publishDate() const = 0;
    // The id of the sent content; 0 until known.
    virtual qint32 publishedId() const = 0;
    // Sends the content (an edit of existing content where the builder holds one).
    virtual Error send() { return create(); }
    // The content the builder edits, or has sent once the forum said which
    // (a blog entry, an article); null when it holds none.
    virtual ModelPtr content() const = 0;
    // The title and the text (BB-code) of that content, which a composer
    // opened on it shows; empty when it holds none.
    virtual QString contentTitle() const = 0;
    virtual QString contentText() const = 0;

protected:
    PublishingBuilder() = default;
};

using PublishingBuilderPtr = std::shared_ptr<PublishingBuilder>;

#pragma once

#include "neighbours/blogs/BlogModel.h"
#include "neighbours/screens/ContentPageController.h"

#include <memory>

class AppContext;

// One blog entry: its title, author, last activity and comment count, and
// its text as a page (the entry's HTML, or its BB-code when only that is
// known). It fills in as the entry's answer arrives.
class BlogPostExpanded : public ContentPageController {
public:
    explicit BlogPostExpanded(AppContext& context);

    // A new entry screen given the entry; the caller pushes it, animated.
    static std::shared_ptr<BlogPostExpanded> initWithModel(AppContext& context, const BlogModelPtr& model);

    // Shows and observes the entry instead of the former one.
    void setModel(const BlogModelPtr& model);
    const BlogModelPtr& model() const { return m_entry; }

protected:
    Content content() const override;
    QString missingTextKey() const override { return QStringLiteral("blog_missing_headline"); }
    QString missingTextMessageKey() const override { return QStringLiteral("blog_missing_message"); }

private:
    BlogModelPtr m_entry;
};

#pragma once

#include "forum/model/Forum.h"
#include "forum/model/PublishingBuilder.h"
#include "forum/model/ThreadBuilder.h"
#include "forum/screens/ArticleSettingsDelegate.h"
#include "forum/screens/BlogSettingsDelegate.h"
#include "forum/screens/Editor.h"
#include "forum/screens/SelectThreadPrefixDelegate.h"
#include "platform/foundation/AlertViewDelegate.h"
#include "platform/foundation/Observation.h"

#include <QDateTime>

// Writes a new thread in a forum, a blog entry or an article, or changes an
// existing entry or article. Where it goes is chosen first (the forum picker,
// or the blog or article settings); a thread may take a prefix the forum
// offers. Sent, it says so, and the new thread, entry or article can be
// opened in its place. The blog and article builders of this program are
// refused by the forum's API, and the screen says so.
//
// Opened with no target (the home screen, the forum index), given its forum
// (a thread list; the link router, even after its view is loaded), or given
// the builder of an existing entry or article (editBlogPost, editArticlePost).
class CreateContent : public Editor,
                      public AlertViewDelegate,
                      public BlogSettingsDelegate,
                      public ArticleSettingsDelegate,
                      public SelectThreadPrefixDelegate {
public:
    // What is written: the choice's positions.
    enum ContentType { NoContentType = -1, ThreadContent = 0, ArticleContent = 1, BlogContent = 2 };
    static inline const QString kBlogSettingsScreen = QStringLiteral("BlogSettingsController");
    static inline const QString kArticleSettingsScreen = QStringLiteral("ArticleSettingsController");
    static inline const QString kDatePattern = QStringLiteral("MM/dd/yy hh:mm a");
    // The model of a blog entry, made by class name and fetched by its id.
    static inline const QString kBlogEntryModel = QStringLiteral("BlogModel");

    explicit CreateContent(AppContext& context);
    ~CreateContent() override;

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    // Not owned: the chosen forum.
    ForumPtr forum() const { return m_forum.lock(); }
    // Chooses the forum: its new-thread form is asked for at once.
    void setForum(const ForumPtr& forum);
    bool forumWasSelected(const ForumPtr& forum) override;
    void blogWasSet(const PublishingBuilderPtr& builder) override;
    void articleWasSet(const PublishingBuilderPtr& builder) override;
    // Opens the screen on the builder's existing blog entry or article: its
    // title and text written in, its settings shown as the target; "submit"
    // sends the change through the builder.
    void editBlogPost(const PublishingBuilderPtr& builder);
    void editArticlePost(const PublishingBuilderPtr& builder);

    void changedPublish() override;
    void changePublish() override;
    // Shows that target area in place of the choice.
    void changePublishViewWith(View* target);
    void selectPrefix() override;
    bool prefixSelectedWithValue(const Value& value, const QString& title) override;
    // The publish date of the blog entry (1) or the article (2); else empty.
    QString getDateText(int which) const;

    void done() override;
    // Hands the title, text, tags and pictures to the chosen target's builder
    // and sends; the builder's refusal, if any.
    Error createContent();

    void modelHasChanged(Model* model) override;
    void clickedButtonAtIndex(AlertView* alertView, int buttonIndex) override;

    int selContentType() const { return m_selContentType; }
    const ThreadBuilderPtr& threadBuilder() const { return m_threadBuilder; }
    const PublishingBuilderPtr& blogBuilder() const { return m_blogBuilder; }
    const PublishingBuilderPtr& articleBuilder() const { return m_articleBuilder; }
    // The alert that said the content was sent, once shown.
    AlertView* viewNewContent() const { return m_viewNewContent.get(); }

private:
    void applyForum();
    // Stops watching and drops every builder.
    void dropBuilders();
    void setBuilder(PublishingBuilderPtr& slot, Observation& observation, const PublishingBuilderPtr& builder);
    Builder* builderFor(int type) const;
    void showPublishedSettings(const PublishingBuilder& builder, int which);
    // Title and text from the content the builder edits.
    void fillWithContent(const PublishingBuilder& builder);
    void showResult(Builder& builder);
    // The screen of what was sent (the thread page, the entry, the article),
    // or null when there is nothing to open.
    ViewControllerPtr newContentScreen() const;
    // Puts the screen in this one's place on the stack, without animation.
    void replaceSelfWith(const ViewControllerPtr& screen);
    void alert(const QString& titleKey, const QString& message);

    std::weak_ptr<Forum> m_forum;
    ThreadBuilderPtr m_threadBuilder;
    PublishingBuilderPtr m_blogBuilder;
    PublishingBuilderPtr m_articleBuilder;
    int m_selContentType = NoContentType;
    std::shared_ptr<AlertView> m_viewNewContent;
    // What the result was said of: none until a send has ended as sent.
    int m_resultType = NoContentType;
    Observation m_threadBuilderObservation;
    Observation m_blogBuilderObservation;
    Observation m_articleBuilderObservation;
};

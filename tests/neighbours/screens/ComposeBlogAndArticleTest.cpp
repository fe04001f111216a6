#include "NeighbourScreenTest.h"
#include "NamedView.h"

#include "app/navigation/ScreenInputs.h"
#include "app/widgets/SegmentControlHidding.h"
#include "forum/screens/ComposingScreens.h"
#include "forum/screens/CreateContent.h"
#include "forum/screens/EditorPublishArea.h"
#include "forum/cells/HomeContent.h"
#include "neighbours/blogs/ArticleBuilder.h"
#include "neighbours/blogs/BlogBuilder.h"
#include "neighbours/screens/ArticleDetails.h"
#include "neighbours/screens/BlogPostExpanded.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/BarButtonView.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/ViewControllerRegistry.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/ClockTimer.h"

#include <QJsonObject>
#include <QTest>

// The new-content screen with blog entries and articles that a forum takes:
// the result alert names what was sent and opens it in the composer's place,
// Escape or "create_go_home" leave, and the composer opens on an existing
// entry or article with its title and text, sending the change.
namespace {

// The forum's API takes no blog entry or article from this program, so the
// stand-in builders refuse every send. These stand for a forum that takes
// them: the send runs a moment on the clock, as a request does, and ends
// taken with the id the forum gave the content. What was called is kept.
template <typename StandIn>
class Taken : public StandIn {
public:
    QStringList calls;

protected:
    Error take(const QString& call, std::function<void()> answer)
    {
        if (this->requestStatus() == BuilderStatus::Sending)
            return Error();
        calls.append(call);
        this->setRequestStatus(BuilderStatus::Sending);
        this->notifyChanged();
        m_answer = Clock::current().after(200, [this, answer = std::move(answer)] {
            answer();
            this->setRequestStatus(BuilderStatus::Sent);
            this->notifyChanged();
        });
        return Error();
    }

private:
    ClockTimer m_answer;
};

class TakenBlogBuilder : public Taken<BlogBuilder> {
public:
    explicit TakenBlogBuilder(qint32 newId) : m_newId(newId) {}
    Error create() override
    {
        return take(QStringLiteral("create"), [this] { setBlogid(m_newId); });
    }

private:
    qint32 m_newId;
};

class TakenArticleBuilder : public Taken<ArticleBuilder> {
public:
    explicit TakenArticleBuilder(qint32 newId) : m_newId(newId) {}
    // The forum answers the new article itself, as it now stands.
    Error create() override
    {
        return take(QStringLiteral("create"), [this] {
            setArticleid(m_newId);
            setArticle(Model::createWithDictionary<Article>(
                Value(ValueDict{{QStringLiteral("threadid"), Value(m_newId)},
                                {QStringLiteral("clean_title"), Value(title())},
                                {QStringLiteral("pagetext"), Value(message())}})));
        });
    }
    Error editForm() override
    {
        return take(QStringLiteral("editForm"), [this] {
            setArticleid(m_newId);
            article()->setClean_title(title());
            article()->setPagetext(message());
        });
    }

private:
    qint32 m_newId;
};

class ComposeBlogAndArticleTest : public NeighbourScreenTest {
protected:
    void SetUp() override
    {
        NeighbourScreenTest::SetUp();
        ComposingScreens::registerClasses(context());
        // Alerts in the window, as the program shows them; the window takes the keys.
        AlertPresenter::install();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        // As the program wires them: the entry and article screens take their models.
        ScreenInputs::registerSetter(HomeContent::kArticleScreen, &ArticleDetails::setArticle);
        ScreenInputs::registerSetter(HomeContent::kBlogEntryScreen, &BlogPostExpanded::setModel);
        signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
        root = showAsRoot(std::make_shared<UIViewControllerCommon>());
    }
    void TearDown() override
    {
        for (const QString& name : ComposingScreens::classNames()) {
            ViewControllerRegistry::unregisterClass(name);
            ScreenInputs::unregisterSetter(name);
        }
        ScreenInputs::unregisterSetter(HomeContent::kArticleScreen);
        ScreenInputs::unregisterSetter(HomeContent::kBlogEntryScreen);
        dismissAlerts();
        NeighbourScreenTest::TearDown();
    }

    std::shared_ptr<CreateContent> newComposer() const
    {
        return std::dynamic_pointer_cast<CreateContent>(ViewControllerRegistry::create(QStringLiteral("CreateContent")));
    }
    std::shared_ptr<CreateContent> openComposer(std::shared_ptr<CreateContent> composer = nullptr)
    {
        if (!composer)
            composer = newComposer();
        EXPECT_NE(composer, nullptr);
        navigation()->pushViewController(composer, true);
        settleAll();
        return composer;
    }
    ViewController* top() const { return navigation()->topViewController(); }
    template <typename T>
    T* topAs() const
    {
        return dynamic_cast<T*>(top());
    }

    // The mouse and the keyboard, through the window as the user's are.
    void click(View* view)
    {
        const QPointF centre = view->convertPoint(view->bounds().center(), nullptr);
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, centre.toPoint());
        finishMoving();
    }
    void clickAt(const QPointF& windowPoint)
    {
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, windowPoint.toPoint());
        finishMoving();
    }
    void typeKeys(const QString& typed)
    {
        for (const QChar c : typed)
            QTest::keyClick(window->windowHandle(), c.toLatin1());
        finishMoving();
    }
    void pressKey(Qt::Key key)
    {
        QTest::keyClick(window->windowHandle(), key);
        finishMoving();
    }
    BarButtonView* submitButton() const { return navigation()->navigationBar()->rightButtonView(); }
    // The title and text written with the mouse and keys; editing ends with "done".
    void write(CreateContent& composer, const QString& title, const QString& text)
    {
        click(composer.messageTitle());
        typeKeys(title);
        click(composer.content());
        typeKeys(text);
        click(submitButton());
        ASSERT_FALSE(composer.content()->isFirstResponder());
    }
    // "submit", then the forum's moment.
    void submit(CreateContent& composer)
    {
        const QPointF button = submitButton()->convertPoint(submitButton()->bounds().center(), nullptr);
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, button.toPoint());
        EXPECT_FALSE(named<ActivityIndicatorView>(&composer, "loading")->isHidden()) << "busy while it is sent";
        settleAll();
    }
    // The button of the alert on top, clicked.
    void clickAlertButton(int index)
    {
        const QList<std::shared_ptr<AlertView>> alerts = AlertView::visibleAlerts();
        ASSERT_FALSE(alerts.isEmpty());
        auto* overlay = qobject_cast<AlertOverlay*>(AlertPresenter::viewFor(alerts.last().get()));
        ASSERT_NE(overlay, nullptr);
        ASSERT_LT(index, overlay->buttonRects().size());
        clickAt(overlay->buttonRects().at(index).center());
    }
    static QStringList answerOf(const AlertView& alert)
    {
        return QStringList{alert.title(), alert.message()} + alert.buttonTitles();
    }
    void picture(const char* name)
    {
        finishMoving();
        ASSERT_TRUE(Screenshot::savePNG(window.get(), TestSupport::galleryPath(QString::fromLatin1(name))));
    }

    std::shared_ptr<UIViewControllerCommon> root;
};

}  // namespace

TEST_F(ComposeBlogAndArticleTest, WhatWasSentOpensInTheComposersPlaceAndEscapeOrGoHomeLeave)
{
    // A blog entry the forum takes as entry 7.
    auto composer = openComposer();
    write(*composer, QStringLiteral("My trip"), QStringLiteral("Three [B]days[/B] by the sea."));
    auto entryBuilder = std::make_shared<TakenBlogBuilder>(7);
    composer->blogWasSet(entryBuilder);
    ASSERT_EQ(composer->selContentType(), CreateContent::BlogContent);
    submit(*composer);
    EXPECT_EQ(entryBuilder->calls, QStringList{QStringLiteral("create")});
    EXPECT_EQ(entryBuilder->title(), QStringLiteral("My trip"));
    EXPECT_EQ(entryBuilder->message(), QStringLiteral("Three [B]days[/B] by the sea."));
    EXPECT_TRUE(named<ActivityIndicatorView>(composer, "loading")->isHidden());
    ASSERT_NE(composer->viewNewContent(), nullptr);
    EXPECT_EQ(answerOf(*composer->viewNewContent()), (QStringList{text("published_title"), text("create_ok_blog"),
                                                                  text("view_blog"), text("create_go_home")}));
    EXPECT_EQ(top(), composer.get()) << "it waits for the answer";
    picture("compose-blog-sent.png");

    // "view_blog": the entry, asked for by its id, in the composer's place;
    // what was written shows until the forum's own entry comes.
    forum().setAnswer(QStringLiteral("blog_blog"),
                      QJsonObject{{QStringLiteral("response"),
                                   QJsonObject{{QStringLiteral("blogid"), QStringLiteral("7")},
                                               {QStringLiteral("title"), QStringLiteral("My trip")},
                                               {QStringLiteral("message"), QStringLiteral("Three <b>days</b> by the sea.")},
                                               {QStringLiteral("comments_total"), 2},
                                               {QStringLiteral("username"), QStringLiteral("alice")}}}});
    forum().holdAtGate(QStringLiteral("blog_blog"), QStringLiteral("entry"));
    clickAlertButton(0);
    auto* entry = topAs<BlogPostExpanded>();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(navigation()->viewControllers(), (QList<ViewControllerPtr>{root, navigation()->viewControllers().last()}))
        << "the composer is gone from the stack";
    ASSERT_NE(entry->model(), nullptr);
    EXPECT_EQ(entry->model()->blogid(), QStringLiteral("7"));
    EXPECT_EQ(entry->titleLabel()->text(), QStringLiteral("My trip"));
    EXPECT_TRUE(entry->pageHtml().contains(QStringLiteral("<b>days</b>"))) << "the BB-code shown as such";
    EXPECT_FALSE(entry->pageHtml().contains(QStringLiteral("[B]")));
    // The request crosses a socket: it reaches the forum when it does.
    ASSERT_TRUE(waitFor([this] { return !forum().requests(QStringLiteral("blog_blog")).isEmpty(); }));
    ASSERT_EQ(forum().requests(QStringLiteral("blog_blog")).size(), 1);
    EXPECT_EQ(forum().requests(QStringLiteral("blog_blog")).first().field(QStringLiteral("blogid")), QStringLiteral("7"));
    forum().openGate(QStringLiteral("entry"));
    settleAll();
    EXPECT_EQ(entry->model()->comments_total(), 2) << "then the forum's entry";
    EXPECT_TRUE(entry->bylineLabel()->text().contains(QStringLiteral("alice")));
    picture("compose-blog-opened.png");
    composer.reset();
    navigation()->popToRootViewControllerAnimated(false);
    finishMoving();

    // An article the forum takes; Escape on the result is "create_go_home".
    composer = openComposer();
    write(*composer, QStringLiteral("Guide to maps"), QStringLiteral("Start with a pencil."));
    auto articleBuilder = std::make_shared<TakenArticleBuilder>(1301);
    composer->articleWasSet(articleBuilder);
    submit(*composer);
    ASSERT_NE(composer->viewNewContent(), nullptr);
    EXPECT_EQ(answerOf(*composer->viewNewContent()),
              (QStringList{text("create_ok_article"), text("your_article_just_created"), text("view_article"),
                           text("create_go_home")}));
    picture("compose-article-sent.png");
    pressKey(Qt::Key_Escape);
    EXPECT_FALSE(AlertView::isAnyAlertShown());
    EXPECT_EQ(navigation()->viewControllers(), QList<ViewControllerPtr>{root}) << "home, no article opened";

    // Again, and "view_article": the article the forum answered, in the composer's place.
    composer = openComposer();
    write(*composer, QStringLiteral("Guide to maps"), QStringLiteral("Start with a pencil."));
    articleBuilder = std::make_shared<TakenArticleBuilder>(1302);
    composer->articleWasSet(articleBuilder);
    submit(*composer);
    clickAlertButton(0);
    auto* article = topAs<ArticleDetails>();
    ASSERT_NE(article, nullptr);
    EXPECT_EQ(article->article(), articleBuilder->article());
    EXPECT_EQ(article->titleLabel()->text(), QStringLiteral("Guide to maps"));
    EXPECT_EQ(navigation()->viewControllers().size(), 2);
    navigation()->popToRootViewControllerAnimated(false);
    finishMoving();

    // Sent, but no id came back: "ok" alone, and the composer closes at once.
    composer = openComposer();
    write(*composer, QStringLiteral("Quiet one"), QStringLiteral("No id for this."));
    composer->blogWasSet(std::make_shared<TakenBlogBuilder>(0));
    submit(*composer);
    ASSERT_NE(composer->viewNewContent(), nullptr);
    EXPECT_EQ(composer->viewNewContent()->buttonTitles(), QStringList{text("ok")});
    EXPECT_EQ(navigation()->viewControllers(), QList<ViewControllerPtr>{root});
    clickAlertButton(0);
    EXPECT_EQ(navigation()->viewControllers(), QList<ViewControllerPtr>{root});
}

TEST_F(ComposeBlogAndArticleTest, AnEntryOrAnArticleOpensInTheComposerWithItsTextAndItsChangeIsSent)
{
    // Alice's own entry, as the forum has it (its message HTML, its text BB-code).
    const BlogModelPtr mine = BlogModel::getBlog(QStringLiteral("1"));
    settleAll();
    ASSERT_EQ(mine->title(), QStringLiteral("Cycling the coast, day one"));
    auto entryBuilder = std::make_shared<TakenBlogBuilder>(1);
    entryBuilder->setBlogModel(mine);
    entryBuilder->setSelectedCategories({BlogCategory{1, QStringLiteral("Travel")}});
    entryBuilder->setPublishState(PublishState::PublishNow);
    entryBuilder->setCanCreateTags(true);
    auto composer = openComposer();
    composer->editBlogPost(entryBuilder);
    finishMoving();
    EXPECT_EQ(composer->messageTitle()->text(), QStringLiteral("Cycling the coast, day one"));
    EXPECT_TRUE(composer->draft().isTextTouched()) << "out of the placeholder";
    EXPECT_EQ(composer->messageText(), mine->pagetext());
    EXPECT_TRUE(composer->messageText().startsWith(QStringLiteral("Sixty kilometres")));
    EXPECT_EQ(composer->selContentType(), CreateContent::BlogContent);
    EXPECT_EQ(composer->blogBuilder(), entryBuilder);
    EXPECT_EQ(composer->publishArea()->publishIn()->selectedSegmentIndex(), EditorPublishArea::Blog);
    EXPECT_EQ(composer->publishArea()->shownTarget(), composer->publishArea()->selectedBlogOptions());
    EXPECT_EQ(composer->publishArea()->selectedBlogCategorys()->text(), QStringLiteral("Travel"));
    EXPECT_EQ(composer->publishArea()->selectedBlogPublishStatus()->text(), text("publish_now"));
    EXPECT_TRUE(named<Button>(composer, "tagsButton")->isEnabled());
    picture("compose-blog-edit.png");

    // A line added at the end goes with the rest.
    click(composer->content());
    QTest::keyClick(window->windowHandle(), Qt::Key_End, Qt::ControlModifier);
    typeKeys(QStringLiteral(" Rain today."));
    click(submitButton());
    submit(*composer);
    EXPECT_EQ(entryBuilder->calls, QStringList{QStringLiteral("create")});
    EXPECT_EQ(entryBuilder->title(), QStringLiteral("Cycling the coast, day one"));
    EXPECT_EQ(entryBuilder->message(), mine->pagetext() + QStringLiteral(" Rain today."));
    ASSERT_NE(composer->viewNewContent(), nullptr);
    EXPECT_EQ(composer->viewNewContent()->buttonTitles(), (QStringList{text("view_blog"), text("create_go_home")}));
    clickAlertButton(1);
    EXPECT_EQ(navigation()->viewControllers(), QList<ViewControllerPtr>{root}) << "create_go_home leaves";

    // An article in edit mode, given before the composer is shown: its change goes by editForm.
    auto existing = Model::createWithDictionary<Article>(
        Value(ValueDict{{QStringLiteral("threadid"), Value(1300)},
                        {QStringLiteral("clean_title"), Value(QStringLiteral("Welcome and rules"))},
                        {QStringLiteral("pagetext"), Value(QStringLiteral("Be [I]kind[/I]."))}}));
    auto articleBuilder = std::make_shared<TakenArticleBuilder>(1300);
    articleBuilder->setArticle(existing);
    articleBuilder->setMode(ArticleBuilder::EditMode);
    articleBuilder->setSelectedCategories({QStringLiteral("News")});
    articleBuilder->setPublishState(PublishState::Draft);
    composer = newComposer();
    composer->editArticlePost(articleBuilder);
    openComposer(composer);
    EXPECT_EQ(composer->messageTitle()->text(), QStringLiteral("Welcome and rules"));
    EXPECT_EQ(composer->messageText(), QStringLiteral("Be [I]kind[/I]."));
    EXPECT_EQ(composer->selContentType(), CreateContent::ArticleContent) << "kept as the screen came into view";
    EXPECT_EQ(composer->publishArea()->shownTarget(), composer->publishArea()->selectedArticleOptions());
    EXPECT_EQ(composer->publishArea()->selectedArticleCategorys()->text(), QStringLiteral("News"));
    EXPECT_EQ(composer->publishArea()->selectedArticlePublishStatus()->text(), text("draft"));
    EXPECT_TRUE(named<Button>(composer, "tagsButton")->isEnabled()) << "articles take tags";
    picture("compose-article-edit.png");
    click(composer->messageTitle());
    QTest::keyClick(window->windowHandle(), Qt::Key_A, Qt::ControlModifier);
    typeKeys(QStringLiteral("House rules"));
    submit(*composer);
    EXPECT_EQ(articleBuilder->calls, QStringList{QStringLiteral("editForm")}) << "an edit, not a new article";
    EXPECT_EQ(articleBuilder->title(), QStringLiteral("House rules"));
    EXPECT_EQ(articleBuilder->message(), QStringLiteral("Be [I]kind[/I]."));
    clickAlertButton(0);
    auto* article = topAs<ArticleDetails>();
    ASSERT_NE(article, nullptr);
    EXPECT_EQ(article->article(), existing);
    EXPECT_EQ(article->titleLabel()->text(), QStringLiteral("House rules"));
}

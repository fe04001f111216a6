#include "NeighbourScreenTest.h"

#include "neighbours/screens/ArticleDetails.h"
#include "neighbours/screens/BBCodeHtml.h"
#include "neighbours/screens/BlogHomeScreenViewController.h"
#include "neighbours/screens/BlogPostExpanded.h"

#include "app/widgets/GradientButton.h"
#include "app/widgets/PageSelector.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/ShadowedTableView.h"
#include "neighbours/blogs/BlogEntriesModel.h"
#include "platform/ui/Application.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/ViewControllerRegistry.h"
#include "platform/ui/WebView.h"

#include "UserInput.h"

namespace {

class ContentPagesTest : public NeighbourScreenTest {
protected:
    void SetUp() override
    {
        NeighbourScreenTest::SetUp();
        Application::sharedApplication().setOpenURLHandler([this](const QUrl& url) {
            opened.append(url);
            return true;
        });
    }
    void TearDown() override
    {
        Application::sharedApplication().setOpenURLHandler({});
        NeighbourScreenTest::TearDown();
    }
    // An article as the home feed carries one.
    static ArticlePtr feedArticle()
    {
        return Article::fromFeedRow(Value(ValueDict{
            {QStringLiteral("threadid"), Value(1)},
            {QStringLiteral("clean_title"), Value(QStringLiteral("Getting started with the Test Forum"))},
            {QStringLiteral("comment_count"), Value(2)},
            {QStringLiteral("publish"), Value(1700000000)},
            {QStringLiteral("user"), Value(ValueDict{{QStringLiteral("userid"), Value(3)},
                                                    {QStringLiteral("username"), Value(QStringLiteral("moderator"))}})},
            {QStringLiteral("pagetext"),
             Value(QStringLiteral("[b]Welcome![/b] Read the [url=http://example.org/rules]rules[/url], "
                                  "ask [url=mu:member/u=4]carol[/url] <script>alert(1)</script>\n"
                                  "[list][*]Browse[*]Subscribe[/list]"))},
        }));
    }
    static QStringList rowTitles(PaginableTableView* list)
    {
        QStringList titles;
        for (const ModelPtr& object : list->rowsForSection(0)) {
            if (const auto* entry = dynamic_cast<const BlogModel*>(object.get()))
                titles.append(entry->title());
        }
        return titles;
    }
    QList<QUrl> opened;
};

}  // namespace

TEST_F(ContentPagesTest, AnArticleShowsItsTextAsAPageWhoseLinksGoThroughTheVeto)
{
    const ArticlePtr article = feedArticle();
    auto screen = std::make_shared<ArticleDetails>(context());
    screen->setArticle(article);
    showAsRoot(screen);
    EXPECT_TRUE(article->observers().contains(screen.get()));
    EXPECT_EQ(screen->titleLabel()->text(), QStringLiteral("Getting started with the Test Forum"));
    EXPECT_TRUE(screen->bylineLabel()->text().startsWith(QStringLiteral("by moderator \u00B7 ")));
    EXPECT_TRUE(screen->bylineLabel()->text().endsWith(QStringLiteral("2 comments")));
    WebView* web = screen->webView();
    EXPECT_FALSE(web->isHidden());
    // The BB-code is shown as text with its markup made; the page's own
    // "<script>" is words on the page, never a script.
    const QString page = web->shownText();
    EXPECT_TRUE(page.startsWith(QStringLiteral("Welcome! Read the rules, ask carol <script>alert(1)</script>")))
        << page.toStdString();
    EXPECT_FALSE(page.contains(QStringLiteral("[b]")));
    EXPECT_TRUE(screen->pageHtml().contains(QStringLiteral("<li>Subscribe</li>")));

    // A tapped web link leaves the application and the page stays; so does
    // one written in capitals.
    const QString before = screen->pageHtml();
    web->clickLink(QUrl(QStringLiteral("http://example.org/rules")));
    web->clickLink(QUrl(QStringLiteral("HTTPS://example.org/Route")));
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened.at(0), QUrl(QStringLiteral("http://example.org/rules")));
    EXPECT_EQ(screen->pageHtml(), before);
    EXPECT_EQ(web->shownText(), page);
    // The web view asks the screen before it follows a link.
    EXPECT_FALSE(screen->shouldStartLoadWithRequest(web, QUrl(QStringLiteral("https://example.org")),
                                                    WebViewNavigationType::LinkClicked));
    // A link of another scheme is refused, and never reaches the desktop.
    EXPECT_FALSE(screen->shouldStartLoadWithRequest(web, QUrl(QStringLiteral("mailto:carol@example.org")),
                                                    WebViewNavigationType::LinkClicked));
    EXPECT_EQ(opened.size(), 3);
    EXPECT_TRUE(screen->shouldStartLoadWithRequest(web, QUrl(QStringLiteral("http://example.org")),
                                                   WebViewNavigationType::Other));

    // The screen follows its article, and lets go of the former one.
    article->setClean_title(QStringLiteral("Getting started, revised"));
    article->notifyChanged();
    EXPECT_EQ(screen->titleLabel()->text(), QStringLiteral("Getting started, revised"));
    const ArticlePtr byId = Article::initWithArticleId(3);
    screen->setArticle(byId);
    EXPECT_FALSE(article->observers().contains(screen.get()));
    EXPECT_TRUE(web->isHidden());
    // Known by its id alone: nothing was asked of the forum, and the screen says there is no text.
    EXPECT_TRUE(apiLog().isEmpty());
    EXPECT_EQ(shown(screen->emptyState()), text("article_missing_headline"));
    EXPECT_TRUE(screen->bylineLabel()->text().isEmpty());
}

TEST_F(ContentPagesTest, ALongArticleIsReadPageByPageWithItsSelector)
{
    // Page breaks in any case; an empty page between two breaks is none.
    const ArticlePtr article = feedArticle();
    article->setPagetext(QStringLiteral("[b]One[/b] first page[PAGE]second [i]page[/i][page] \n [PAGE]third page"));
    EXPECT_EQ(article->pages(), QStringList({QStringLiteral("[b]One[/b] first page"),
                                             QStringLiteral("second [i]page[/i]"), QStringLiteral("third page")}));
    auto screen = std::make_shared<ArticleDetails>(context());
    screen->setArticle(article);
    showAsRoot(screen);
    PageSelector* selector = screen->pageSelector();
    ASSERT_NE(selector, nullptr);
    EXPECT_EQ(selector->view()->superview(), screen->view());
    EXPECT_EQ(selector->totalPages(), 3);
    EXPECT_EQ(selector->page()->text(), QStringLiteral("1"));
    EXPECT_EQ(screen->webView()->shownText(), QStringLiteral("One first page"));
    // The page ends where the selector starts; nothing lies under another.
    EXPECT_LE(screen->webView()->frame().bottom(), selector->view()->frame().top() + 0.5);
    EXPECT_EQ(selector->view()->frame().bottom(), screen->view()->bounds().bottom());
    EXPECT_TRUE(selector->prev()->isHidden());
    EXPECT_FALSE(selector->next()->isHidden());

    tapView(selector->next());
    EXPECT_EQ(screen->webView()->shownText(), QStringLiteral("second page"));
    EXPECT_EQ(article->currentPage(), 2);
    EXPECT_EQ(selector->page()->text(), QStringLiteral("2"));
    EXPECT_FALSE(selector->prev()->isHidden());
    tapView(selector->next());
    EXPECT_EQ(screen->webView()->shownText(), QStringLiteral("third page"));
    EXPECT_TRUE(selector->next()->isHidden());
    tapView(selector->prev());
    EXPECT_EQ(screen->webView()->shownText(), QStringLiteral("second page"));
    EXPECT_EQ(screen->pageSelector(), selector);

    // A text of one page has no selector, and the page takes the room.
    article->setPagetext(QStringLiteral("[PAGE]only page[PAGE]"));
    article->notifyChanged();
    EXPECT_EQ(screen->pageSelector(), nullptr);
    EXPECT_EQ(screen->webView()->shownText(), QStringLiteral("only page"));
    EXPECT_EQ(screen->webView()->frame().bottom(), screen->view()->bounds().bottom());

    // Another article starts on its own page.
    const ArticlePtr other = feedArticle();
    other->setPagetext(QStringLiteral("a[PAGE]b"));
    screen->setArticle(other);
    ASSERT_NE(screen->pageSelector(), nullptr);
    EXPECT_EQ(screen->pageSelector()->totalPages(), 2);
    EXPECT_EQ(screen->webView()->shownText(), QStringLiteral("a"));
}

TEST_F(ContentPagesTest, ABlogEntryFillsAsItsAnswerArrivesAndAFailureSaysSo)
{
    openGuestSession();
    forum().holdAtGate(QStringLiteral("blog_blog"), QStringLiteral("entry"));
    auto screen = BlogPostExpanded::initWithModel(context(), BlogModel::getBlog(QStringLiteral("1")));
    showAsRoot(screen);
    EXPECT_EQ(shown(screen->emptyState()), text("loading"));
    forum().openGate(QStringLiteral("entry"));
    settleAll();
    EXPECT_EQ(lastRequest(QStringLiteral("blog_blog")).field(QStringLiteral("blogid")), QStringLiteral("1"));
    EXPECT_EQ(screen->titleLabel()->text(), QStringLiteral("Cycling the coast, day one"));
    EXPECT_TRUE(screen->bylineLabel()->text().startsWith(QStringLiteral("by alice")));
    EXPECT_EQ(shown(screen->emptyState()), QStringLiteral("(hidden)"));
    EXPECT_TRUE(screen->webView()->shownText().contains(QStringLiteral("Tomorrow:")));
    EXPECT_FALSE(screen->webView()->shownText().contains(QStringLiteral("[b]")));
    // No picture can be shown yet: the smiley is its code, not a broken picture.
    EXPECT_TRUE(screen->webView()->shownText().contains(QStringLiteral("pastry of my life. :)")));

    auto missing = BlogPostExpanded::initWithModel(context(), BlogModel::getBlog(QStringLiteral("999")));
    showAsRoot(missing);
    settleAll();
    EXPECT_EQ(shown(missing->emptyState()), text("content_failed_headline"));
    EXPECT_FALSE(missing->emptyState()->message().isEmpty());
    EXPECT_EQ(alertMessages().size(), 1);
    dismissAlerts();
}

TEST_F(ContentPagesTest, TheBlogHomeScreenListsTheEntriesItIsGivenBeforeItShowsAndOpensThem)
{
    openGuestSession();
    // Without a list it says that blogs are not browsed here.
    auto plain = std::dynamic_pointer_cast<BlogHomeScreenViewController>(
        ViewControllerRegistry::create(QStringLiteral("BlogHomeScreenViewController")));
    ASSERT_NE(plain, nullptr);
    showAsRoot(plain);
    EXPECT_EQ(shown(plain->emptyState()), text("blogs_empty_headline"));

    // Given its list before its view exists, as a link to a tag does.
    auto screen = std::make_shared<BlogHomeScreenViewController>(context());
    ASSERT_NE(screen->table(), nullptr);
    EXPECT_FALSE(screen->isViewLoaded());
    // Every request for the list waits (the table asks for its first page too).
    forum().holdAtGate(QStringLiteral("blog_list"), QStringLiteral("list"), -1);
    screen->table()->setModel(BlogEntriesModel::getEntriesForTag(QStringLiteral("travel"), 1));
    showAsRoot(screen);
    EXPECT_EQ(screen->table()->superview(), screen->view());
    EXPECT_EQ(shown(screen->emptyState()), text("loading"));
    forum().openGate(QStringLiteral("list"));
    settleAll();
    EXPECT_EQ(lastRequest(QStringLiteral("blog_list")).field(QStringLiteral("tag")), QStringLiteral("travel"));
    EXPECT_EQ(rowTitles(screen->table()).size(), 2);
    EXPECT_TRUE(rowTitles(screen->table()).contains(QStringLiteral("Cycling the coast, day one")));
    EXPECT_EQ(shown(screen->emptyState()), QStringLiteral("(hidden)"));
    TableViewCell* first = screen->table()->tableView()->cellForRowAtIndexPath(IndexPath::indexPathForRow(0, 0));
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->detailTextLabel()->text().isEmpty());

    // A row opens its entry, fetched for its text.
    tapView(first);
    finishMoving();
    auto* entry = dynamic_cast<BlogPostExpanded*>(navigation()->topViewController());
    ASSERT_NE(entry, nullptr);
    settleAll();
    EXPECT_FALSE(entry->webView()->isHidden());
    EXPECT_EQ(lastRequest(QStringLiteral("blog_blog")).field(QStringLiteral("blogid")), entry->model()->blogid());

    // Back, the row clicked is the list's chosen one and has the keys: Down
    // marks the next entry and Return opens it.
    const QString firstEntry = entry->model()->blogid();
    navigation()->popViewControllerAnimated(true);
    finishMoving();
    TableView* list = screen->table()->tableView();
    EXPECT_TRUE(list->hasFocus());
    EXPECT_EQ(list->indexPathForSelectedRow(), IndexPath::indexPathForRow(0, 0));
    UserInput::key(Qt::Key_Down);
    EXPECT_EQ(list->indexPathForSelectedRow(), IndexPath::indexPathForRow(1, 0));
    UserInput::key(Qt::Key_Return);
    finishMoving();
    entry = dynamic_cast<BlogPostExpanded*>(navigation()->topViewController());
    ASSERT_NE(entry, nullptr);
    settleAll();
    EXPECT_NE(entry->model()->blogid(), firstEntry);
    EXPECT_EQ(lastRequest(QStringLiteral("blog_blog")).field(QStringLiteral("blogid")), entry->model()->blogid());

    // A list with nothing in it, and one whose load failed, each say so.
    auto none = std::make_shared<BlogHomeScreenViewController>(context());
    none->table()->setModel(BlogEntriesModel::getEntriesForTag(QStringLiteral("no-such-tag"), 1));
    showAsRoot(none);
    settleAll();
    EXPECT_EQ(shown(none->emptyState()), text("blogs_no_entries_headline"));
    forum().answerHttpStatus(QStringLiteral("blog_list"), 500, "broken");
    auto failed = std::make_shared<BlogHomeScreenViewController>(context());
    failed->table()->setModel(BlogEntriesModel::getEntriesForTag(QStringLiteral("travel"), 1));
    showAsRoot(failed);
    settleAll();
    EXPECT_EQ(shown(failed->emptyState()), text("blogs_failed_headline"));
    dismissAlerts();
}

TEST_F(ContentPagesTest, PageTextBecomesMarkupOnlyWhereItSaysSo)
{
    EXPECT_EQ(BBCodeHtml::fromBBCode(QStringLiteral("a [B]bold [i]and[/i][/b] <b>x</b> & \"q\"\nnext")),
              QStringLiteral("a <b>bold <i>and</i></b> &lt;b&gt;x&lt;/b&gt; &amp; &quot;q&quot;<br>next"));
    // Links only where they lead somewhere safe; the address stays one attribute.
    EXPECT_EQ(BBCodeHtml::fromBBCode(QStringLiteral("[url=http://x.org/?a=1&b='2']x[/url]")),
              QStringLiteral("<a href=\"http://x.org/?a=1&amp;b=&#39;2&#39;\">x</a>"));
    EXPECT_EQ(BBCodeHtml::fromBBCode(QStringLiteral("[url=http://x.org/\" onclick=\"y]x[/url]")), QStringLiteral("x"));
    // Nothing is made inside an address, and "%1" in a text stays as written.
    EXPECT_EQ(BBCodeHtml::fromBBCode(QStringLiteral("[url]http://a.org/[quote]x[/quote][/url] 100%1 [b]%2[/b]")),
              QStringLiteral("<a href=\"http://a.org/[quote]x[/quote]\">http://a.org/<blockquote>x</blockquote></a> 100%1 "
                             "<b>%2</b>"));
    EXPECT_EQ(BBCodeHtml::fromBBCode(QStringLiteral("[url]javascript:alert(1)[/url]")),
              QStringLiteral("javascript:alert(1)"));
    EXPECT_EQ(BBCodeHtml::fromBBCode(QStringLiteral("[url=forumdisplay.php?f=3]rules[/url]")),
              QStringLiteral("<a href=\"forumdisplay.php?f=3\">rules</a>"));
    // Quotations, nested, with their author; a tag left open stays as written.
    EXPECT_EQ(BBCodeHtml::fromBBCode(QStringLiteral("[quote=anna;12]outer [quote]inner[/quote][/quote] [b]open")),
              QStringLiteral("<blockquote><i>anna:</i><br>outer <blockquote>inner</blockquote></blockquote> [b]open"));
    // Lists stand apart without extra line breaks around them.
    EXPECT_EQ(BBCodeHtml::fromBBCode(QStringLiteral("Steps:\n\n[list]\n[*]one\n[*]two\n[/list]\nDone")),
              QStringLiteral("Steps:<ul><li>one</li><li>two</li></ul>Done"));
    EXPECT_TRUE(BBCodeHtml::fromBBCode(QString()).isEmpty());
    // Pictures give way to their alternative text where none can be shown.
    EXPECT_EQ(ContentPageController::withoutPictures(
                  QStringLiteral("a <img src=\"s.png\" alt=\":)\" class=\"inlineimg\" /> b <IMG src='p.png'> c")),
              QStringLiteral("a :) b  c"));
}

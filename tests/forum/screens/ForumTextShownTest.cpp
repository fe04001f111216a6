#include "ComposeScreenTest.h"
#include "HomeScreenTest.h"
#include "NamedView.h"

#include "forum/cells/HomeCell.h"
#include "forum/cells/ThreadCell.h"
#include "forum/model/ThreadBuilder.h"
#include "forum/screens/ForumSearchScreens.h"
#include "forum/screens/PostDetailsController.h"
#include "forum/screens/SearchController.h"

#include "app/widgets/SectionHeaderLabel.h"
#include "app/widgets/TabBarHidding.h"
#include "platform/ui/EmojiText.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/WebView.h"

#include <QBuffer>
#include <QFontInfo>
#include <QGlyphRun>
#include <QHash>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextLayout>

// What the forum sent is what the screens show: titles as text wherever
// they are drawn, emoji sequences whole on the post page, a right-to-left
// title within its strip, a signature under the post's pictures, the title
// of a post known by its id, and a quote that keeps the editor quick.
namespace {

const QString kTitle = QStringLiteral("Demo thread & <test> \"q\" 😀");
const QString kRaising = QStringLiteral("🙋‍♀️");

class ForumTextShownTest : public ComposeScreenTest {
protected:
    void SetUp() override
    {
        ComposeScreenTest::SetUp();
        wireBlogContent();
        ForumSearchScreens::registerClasses(context());
    }
    void TearDown() override
    {
        ForumSearchScreens::unregisterClasses();
        ComposeScreenTest::TearDown();
    }

    // A thread started on the forum by the member signed in; its id.
    int startThread(qint32 forumid, const QString& title, const QString& message)
    {
        auto forum = std::make_shared<Forum>();
        forum->setForumid(forumid);
        const auto builder = ThreadBuilder::initWithForum(forum);
        EXPECT_TRUE(settle());
        builder->setTitle(title);
        builder->setMessage(message);
        builder->create();
        EXPECT_TRUE(waitFor([&] {
            settle();
            return builder->threadid() > 0;
        }));
        return builder->threadid();
    }
    // The window as it draws now, at the gallery's zoom, where the view stands.
    QImage shownAt(View* view)
    {
        finishMoving();
        const QRectF at = view->convertRect(view->bounds(), nullptr);
        return Screenshot::render(window.get(), kZoom)
            .copy(QRectF(at.topLeft() * kZoom, at.size() * kZoom).toRect())
            .convertToFormat(QImage::Format_RGB32);
    }
    static QImage drawnAlone(View* view)
    {
        return Screenshot::render(view, kZoom).convertToFormat(QImage::Format_RGB32);
    }
    // The columns (in the view's points) between which the picture holds
    // anything but its background, the colour at its first pixel.
    static std::pair<qreal, qreal> inkColumns(const QImage& picture)
    {
        const QRgb background = picture.pixel(0, 0);
        int left = picture.width();
        int right = -1;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (picture.pixel(x, y) != background) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        return {left / kZoom, (right + 1) / kZoom};
    }
    // The strip over the first page of the thread page.
    static Label* titleStrip(PostController* page)
    {
        return dynamic_cast<Label*>(page->postTable()->tableView()->headerViewForSection(0));
    }
    // The row whose model is the thread, scrolled into sight.
    template <typename Cell>
    Cell* rowOf(PaginableTableView* list, int threadid)
    {
        const QList<ModelPtr> rows = list->rowsForSection(0);
        for (int row = 0; row < rows.size(); ++row) {
            const auto thread = std::dynamic_pointer_cast<Thread>(rows.at(row));
            if (thread && thread->threadid() == threadid) {
                list->tableView()->scrollToRowAtIndexPath(IndexPath{0, row}, TableViewScrollPosition::Middle, false);
                finishMoving();
                return dynamic_cast<Cell*>(list->tableView()->cellForRowAtIndexPath(IndexPath{0, row}));
            }
        }
        return nullptr;
    }
    // The post alone, as the forum answers for it, opened by its id as a link opens it.
    PostDetailsController* openPostById(qint32 postid, const QJsonObject& answer)
    {
        forum().setAnswer(QStringLiteral("showthread"), answer, 1);
        auto screen = std::make_shared<PostDetailsController>(context());
        screen->setPost(Post::initWithPostid(postid));
        showRoot(screen);
        settleAll();
        return screen.get();
    }
    // Where the text first stands on the page: the font each of its
    // characters is set in, and the glyphs drawn for it by font.
    static std::pair<QStringList, QHash<QString, qsizetype>> laidOut(WebView* web, const QString& text)
    {
        (void)web->contentSize();
        QTextDocument* page = web->findChild<QTextBrowser*>()->document();
        const QTextCursor found = page->find(text);
        if (found.isNull())
            return {};
        QStringList fonts;
        for (int at = found.selectionStart(); at < found.selectionEnd(); ++at) {
            QTextCursor character(page);
            character.setPosition(at + 1);
            fonts.append(QFontInfo(character.charFormat().font()).family());
        }
        QHash<QString, qsizetype> glyphs;
        const QTextBlock block = found.block();
        for (const QGlyphRun& run : block.layout()->glyphRuns(found.selectionStart() - block.position(), int(text.size())))
            glyphs[run.rawFont().familyName()] += run.glyphIndexes().size();
        return {fonts, glyphs};
    }

    static constexpr qreal kZoom = 2;
};

}  // namespace

TEST_F(ForumTextShownTest, ATitleWithSignsAndEmojiShowsWholeInRowsTitlesTheStripSearchAndThePostAlone)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const int threadid = startThread(3, kTitle, QStringLiteral("Hello %1 there").arg(kRaising));
    ASSERT_GT(threadid, 0);

    // Its row in the forum's list.
    const auto threads = openForum(3, QStringLiteral("General Discussion"));
    auto* row = rowOf<ThreadCell>(threads->threadTable(), threadid);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->title()->text(), kTitle);

    // Its page: the title in the bar and in the strip over the posts, whose
    // pixels are those of the strip drawn alone with the whole title.
    const auto page = openThread(threadid);
    EXPECT_EQ(navigation()->navigationBar()->shownTitle(), kTitle);
    Label* strip = titleStrip(page.get());
    ASSERT_NE(strip, nullptr);
    const std::unique_ptr<Label> alone(SectionHeaderLabel::make(QRectF(QPointF(), strip->bounds().size()), kTitle));
    EXPECT_EQ(shownAt(strip), drawnAlone(alone.get())) << "the strip shows the title as it was written";
    picture("title-strip-with-signs-and-emoji.png");

    // The post alone: the thread's title in the bar, the emoji sequence on
    // the page one picture, in the colour emoji font.
    ASSERT_FALSE(page->postTable()->rowsForSection(0).isEmpty());
    tapRow(page->postTable()->tableView(), IndexPath{0, 0});
    settleAll();
    auto* shownAlone = topAs<PostDetailsController>();
    ASSERT_NE(shownAlone, nullptr);
    EXPECT_EQ(navigation()->navigationBar()->shownTitle(), kTitle);
    EXPECT_TRUE(shownAlone->web()->shownText().contains(kRaising));
    const QString emojiFont = EmojiText::fontFor(QFont()).family();
    const auto [fonts, glyphs] = laidOut(shownAlone->web(), kRaising);
    EXPECT_EQ(fonts, QStringList(kRaising.size(), emojiFont)) << "each character in the colour emoji font";
    EXPECT_EQ(glyphs.value(emojiFont), 1) << "the sequence is drawn as the one picture it names";
    picture("post-alone-emoji-sequence.png");

    // Home and the search results.
    back();
    showRoot(std::make_shared<forumtest::LoginController>());
    const auto home = std::make_shared<HomeController>(context());
    navigation()->pushViewController(home, false);
    settleAll();
    auto* homeRow = rowOf<HomeCell>(named<PaginableTableView>(home.get(), "news"), threadid);
    ASSERT_NE(homeRow, nullptr);
    EXPECT_EQ(homeRow->title()->text(), kTitle);
    const auto search = std::make_shared<SearchController>(context());
    showRoot(search);
    settleAll();
    tapView(search->searchBar()->textField());
    UserInput::type(QStringLiteral("Demo thread"), window.get());
    UserInput::key(Qt::Key_Return, Qt::NoModifier, QString(), window.get());
    settleAll();
    auto* found = rowOf<HomeCell>(search->resultsTable(), threadid);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->title()->text(), kTitle);
}

TEST_F(ForumTextShownTest, ATitleMixingEnglishAndArabicStandsWithinItsStripAfterTheIndent)
{
    // A title that reads from left to right, then one that reads from right
    // to left with English in it ("مرحبا بالجميع - hello from Cairo").
    openGuestSession();
    const auto english = openThread(302);
    ASSERT_NE(titleStrip(english.get()), nullptr);
    const qreal englishLeft = inkColumns(shownAt(titleStrip(english.get()))).first;
    const auto mixed = openThread(309);
    Label* strip = titleStrip(mixed.get());
    ASSERT_NE(strip, nullptr);
    const auto [left, right] = inkColumns(shownAt(strip));
    EXPECT_GE(englishLeft, 8);
    EXPECT_NEAR(left, englishLeft, 1.5) << "the title starts after the same indent";
    EXPECT_LT(right, strip->bounds().width());
    picture("title-strip-right-to-left.png");
}

TEST_F(ForumTextShownTest, ThePostAloneShowsItsSignatureUnderItsLastPictureAndItsThreadsTitle)
{
    QImage small(60, 40, QImage::Format_RGB32);
    small.fill(QColor(0x2e, 0x86, 0xc1));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(small.save(&buffer, "PNG"));
    forum().setPicture(QStringLiteral("small.png"), bytes);
    const QString address = forum().baseUrl() + QStringLiteral("/images/small.png");
    const QJsonObject post{
        {QStringLiteral("postid"), 9100},
        {QStringLiteral("userid"), 4},
        {QStringLiteral("username"), QStringLiteral("carol")},
        {QStringLiteral("message"), QStringLiteral("A small picture:")},
        {QStringLiteral("signature"), QStringLiteral("Maps &amp; more")},
        {QStringLiteral("thumbnailattachments"),
         QJsonObject{{QStringLiteral("url"), address}, {QStringLiteral("pictureurl"), address}}},
    };
    const QJsonObject answer{{QStringLiteral("response"),
                              QJsonObject{{QStringLiteral("thread"), QJsonObject{{QStringLiteral("threadid"), 91},
                                                                                {QStringLiteral("threadtitle"),
                                                                                 QStringLiteral("Signed &amp; pictured")}}},
                                          {QStringLiteral("postbits"), QJsonObject{{QStringLiteral("post"), post}}}}}};
    openGuestSession();
    PostDetailsController* screen = openPostById(9100, answer);
    EXPECT_EQ(navigation()->navigationBar()->shownTitle(), QStringLiteral("Signed & pictured"));
    WebView* web = screen->web();
    ASSERT_TRUE(waitFor([&] {
        settle();
        const QList<QRectF> pictures = web->pictureFrames();
        return pictures.size() == 1 && pictures.first().size() == QSizeF(60, 40);
    }));
    picture("post-alone-signature-under-picture.png");

    // On the rows the picture stands on, nothing is drawn beside it; the
    // signature's letters are all below it.
    const QRectF drawn = web->pictureFrames().first();
    const QImage shown = shownAt(web);
    const QRgb page = shown.pixel(shown.width() - 1, shown.height() - 1);
    const int pictureTop = int(drawn.top() * kZoom);
    const int pictureBottom = int(drawn.bottom() * kZoom);
    bool beside = false;
    for (int y = std::max(0, pictureTop); y < pictureBottom && y < shown.height(); ++y) {
        for (int x = int((drawn.right() + 2) * kZoom); x < shown.width(); ++x)
            beside = beside || shown.pixel(x, y) != page;
    }
    EXPECT_FALSE(beside) << "the signature is on the picture's line";
    bool below = false;
    for (int y = pictureBottom + 1; y < shown.height() && !below; ++y) {
        for (int x = 0; x < shown.width() && !below; ++x)
            below = shown.pixel(x, y) != page;
    }
    EXPECT_TRUE(below) << "the signature shows under the picture";
    EXPECT_TRUE(web->shownText().contains(QStringLiteral("Maps & more")));
}

TEST_F(ForumTextShownTest, AQuoteOfAPostTooLongForTheThreadPageIsCutThereAndSaysSo)
{
    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    // A megabyte in one paragraph: each key would lay all of it out again.
    QString huge;
    for (int word = 0; huge.size() < 1024 * 1024; ++word)
        huge += QStringLiteral("word%1 ").arg(word);
    const QJsonObject post{
        {QStringLiteral("postid"), 9200}, {QStringLiteral("threadid"), 307},
        {QStringLiteral("userid"), 2},    {QStringLiteral("username"), QStringLiteral("bob")},
        {QStringLiteral("message"), huge}, {QStringLiteral("message_bbcode"), huge},
    };
    PostDetailsController* screen = openPostById(
        9200, QJsonObject{{QStringLiteral("response"),
                           QJsonObject{{QStringLiteral("postbits"), QJsonObject{{QStringLiteral("post"), post}}}}}});
    ASSERT_FALSE(screen->actions()->isHiddenAtIndex(PostDetailsController::Quote));
    screen->actions()->tapItem(screen->actions()->initialItems().at(PostDetailsController::Quote));
    finishMoving();
    auto* reply = topAs<Reply>();
    ASSERT_NE(reply, nullptr);
    settleAll();

    // The quote holds the start of the post, at most what the thread page
    // shows of one, then says that the rest is left out.
    const QString opening = QStringLiteral("[QUOTE=bob;9200]");
    const QString closing = u'\n' + text("quote_cut") + QStringLiteral("[/QUOTE]");
    const QString quoted = reply->content()->text();
    ASSERT_TRUE(quoted.startsWith(opening) && quoted.endsWith(closing)) << quoted.right(100).toStdString();
    const QString kept = quoted.mid(opening.size(), quoted.size() - opening.size() - closing.size());
    EXPECT_TRUE(huge.startsWith(kept));
    EXPECT_LE(kept.size(), Post::MaxShownBbcode);
    EXPECT_GT(kept.size(), Post::MaxShownBbcode - 100);

    // Keys typed at its end and into the middle of it land there.
    clickInto(reply->content());
    QPlainTextEdit* edit = editOf(reply->content());
    key(edit, Qt::Key_End, Qt::ControlModifier);
    picture("editor-long-quote-cut.png");
    QTextCursor middle = edit->textCursor();
    middle.setPosition(opening.size() + 7);
    edit->setTextCursor(middle);
    typeInto(edit, QStringLiteral("zz"));
    EXPECT_EQ(reply->messageText(), quoted.left(opening.size() + 7) + QStringLiteral("zz") + quoted.mid(opening.size() + 7));
}

#include "ThreadScreensTest.h"

#include "forum/screens/PostDetailsController.h"

#include "platform/ui/WebPageMarkup.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

#include <sys/inotify.h>
#include <unistd.h>

// The single post's page with what a hostile member can post: the forum's
// HTML is hostile input.
namespace {

// The files of a folder opened or read while it is watched, as the kernel
// reports them: a watch on what a folder holds never sees an open.
class OpenedFiles {
public:
    explicit OpenedFiles(const QString& folder) : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        if (m_fd >= 0)
            m_watch = inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_OPEN | IN_ACCESS);
    }
    ~OpenedFiles()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OpenedFiles(const OpenedFiles&) = delete;
    OpenedFiles& operator=(const OpenedFiles&) = delete;

    bool watching() const { return m_fd >= 0 && m_watch >= 0; }
    // The names opened or read so far ("." for the folder itself).
    QStringList names()
    {
        alignas(inotify_event) char buffer[8192];
        for (;;) {
            const ssize_t count = ::read(m_fd, buffer, sizeof buffer);
            if (count <= 0)
                break;
            for (ssize_t at = 0; at < count;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                m_names.append(event->len > 0 ? QFile::decodeName(event->name) : QStringLiteral("."));
                at += ssize_t(sizeof(inotify_event)) + ssize_t(event->len);
            }
        }
        return m_names;
    }

private:
    int m_fd;
    int m_watch = -1;
    QStringList m_names;
};

// How deep tables and lists nest in a laid-out page.
int tableDepth(QTextFrame* frame)
{
    int deepest = 0;
    for (QTextFrame* child : frame->childFrames())
        deepest = std::max(deepest, tableDepth(child) + (qobject_cast<QTextTable*>(child) ? 1 : 0));
    return deepest;
}

int deepestIndent(QTextDocument* page)
{
    int deepest = 0;
    for (QTextBlock block = page->begin(); block.isValid(); block = block.next()) {
        const int indent = block.blockFormat().indent() + (block.textList() ? block.textList()->format().indent() : 0);
        deepest = std::max(deepest, indent);
    }
    return deepest;
}

class HostilePostPageTest : public ThreadScreensTest {
protected:
    static constexpr qint32 kPostId = 9001;

    // The post alone, as the forum serves it with this message and signature.
    PostDetailsController* openPost(const QString& message, const QString& signature = QString())
    {
        const QJsonObject post{{QStringLiteral("postid"), kPostId},  {QStringLiteral("userid"), 7},
                               {QStringLiteral("username"), QStringLiteral("mallory")},
                               {QStringLiteral("title"), QStringLiteral("Look at this")},
                               {QStringLiteral("message"), message}, {QStringLiteral("signature"), signature}};
        forum().clearControls();
        forum().setAnswer(QStringLiteral("showthread"),
                          QJsonObject{{QStringLiteral("response"),
                                       QJsonObject{{QStringLiteral("postbits"),
                                                    QJsonObject{{QStringLiteral("post"), post}}}}}});
        openGuestSession();
        auto screen = std::make_shared<PostDetailsController>(context());
        screen->setPost(Post::initWithPostid(kPostId));
        navigation = NavigationController::create(screen);
        window->setRootViewController(navigation);
        settleAll();
        return screen.get();
    }
    static QTextBrowser* browserOf(WebView* web) { return web->findChild<QTextBrowser*>(); }
    // The page laid out and drawn, as the window shows it.
    void drawn(WebView* web)
    {
        (void)web->contentSize();
        web->update();
        TestSupport::processEvents();
        EXPECT_FALSE(web->grab().toImage().isNull());
    }
    // The reader goes to the end of the part and taps the link to the next
    // one; false when there is none.
    bool tapNextPart(WebView* web)
    {
        if (web->lastPartShown())
            return false;
        const int next = web->shownPart() + 1;
        // A tap in the page's margin gives it the keyboard, whose End key,
        // through the window, scrolls to the end.
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          web->convertPoint(QPointF(2, web->bounds().height() / 2), nullptr).toPoint());
        QTest::keyClick(window->windowHandle(), Qt::Key_End);
        for (const auto& [href, frame] : web->linkFrames()) {
            if (href.endsWith(QStringLiteral("part-%1").arg(next + 1))) {
                tap(web->convertPoint(frame.center(), nullptr));
                break;
            }
        }
        TestSupport::processEvents();
        return web->shownPart() == next;
    }
    // Every part, from the first, as the reader reaches them, each laid out
    // and drawn; the text of each.
    QStringList readEveryPart(WebView* web, const std::function<void(WebView*)>& check)
    {
        QStringList texts;
        EXPECT_EQ(web->shownPart(), 0);
        do {
            drawn(web);
            check(web);
            texts.append(web->shownText());
        } while (tapNextPart(web));
        EXPECT_TRUE(web->lastPartShown()) << "every part reached";
        EXPECT_EQ(web->shownPart() + 1, texts.size());
        return texts;
    }
};

}  // namespace

TEST_F(HostilePostPageTest, PicturesStyleSheetsAndLinksOfAPostNeverOpenALocalFile)
{
    // The working folder holds what a page might name: pictures by a bare
    // name, with and without the suffixes a picture reader tries, and files
    // the post names by their absolute paths.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString here = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    const auto back = qScopeGuard([&here] { QDir::setCurrent(here); });
    QImage planted(24, 24, QImage::Format_RGB32);
    planted.fill(Qt::magenta);
    for (const QString& name : {QStringLiteral("nothing.png"), QStringLiteral("planted.png")})
        ASSERT_TRUE(planted.save(folder.filePath(name)));
    for (const QString& name : {QStringLiteral("nothing"), QStringLiteral("nothing.png.png"),
                                QStringLiteral("planted"), QStringLiteral("planted.jpg"), QStringLiteral("planted.css"),
                                QStringLiteral("planted.html"), QStringLiteral("nothing.png@2x.png")}) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(name.endsWith(u".css") ? "div { color: red }" : "not a picture");
    }
    QImage good(40, 30, QImage::Format_RGB32);
    good.fill(Qt::darkGreen);
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(good.save(&buffer, "PNG"));
    }
    forum().setPicture(QStringLiteral("good.png"), bytes);
    const QString path = folder.path();
    OpenedFiles opened(path);
    ASSERT_TRUE(opened.watching());

    const QString message =
        QStringLiteral(
            "<p>Pictures: <img src=\"nothing.png\"> <img src=\"%1/planted.png\"> <img src=\"file://%1/planted.png\">"
            " <img src=\"file://localhost%1/planted.png\"> <img src=\"planted\"> <img src=\"./nothing\">"
            " <img src=\"data:image/png;base64,iVBORw0KGgo=\"> <img src=\"qrc:/planted.png\">"
            " <img src=\"%2/images/good.png\"></p>"
            "<table background=\"planted.png\"><tr><td background=\"%1/planted.png\">a cell</td></tr></table>"
            "<div style=\"background-image: url(planted.png)\">a styled line</div>"
            "<link rel=\"stylesheet\" type=\"text/css\" href=\"%1/planted.css\">"
            "<style>@import url(\"%1/planted.css\"); @import \"planted.css\";</style>"
            "<p>Links: <a href=\"planted.html\">near</a> <a href=\"file://%1/planted.html\">a file</a>"
            " <a href=\"#top\">up</a></p>")
            .arg(path, forum().baseUrl());
    PostDetailsController* screen = openPost(message, QStringLiteral("<img src=\"%1/planted.png\">").arg(path));
    WebView* web = screen->web();
    EXPECT_TRUE(web->shownText().contains(QStringLiteral("a styled line")));

    // The picture on the forum comes through the image cache; the others
    // stay empty boxes.
    EXPECT_TRUE(waitFor([&] {
        settle();
        const QList<QRectF> pictures = web->pictureFrames();
        return std::any_of(pictures.begin(), pictures.end(),
                           [](const QRectF& frame) { return frame.size() == QSizeF(40, 30); });
    }));
    const QList<QRectF> pictures = web->pictureFrames();
    ASSERT_EQ(pictures.size(), 10) << "nine pictures and the signature's";
    for (const QRectF& frame : pictures) {
        if (frame.size() != QSizeF(40, 30)) {
            EXPECT_EQ(frame.size(), QSizeF(16, 16)) << "a placeholder for a picture refused";
        }
    }
    EXPECT_FALSE(forum().requests().isEmpty());

    // Repaints, a narrower page, a tap on each link.
    for (int round = 0; round < 3; ++round)
        drawn(web);
    web->setFrame(QRectF(0, web->frame().y(), 200, web->frame().height()));
    drawn(web);
    const QImage shown = web->grab().toImage();
    const auto links = web->linkFrames();
    ASSERT_EQ(links.size(), 3);
    for (const auto& [href, frame] : links) {
        tap(web->convertPoint(frame.center(), nullptr));
        dismissAlerts();
    }
    // The keyboard, through the window: each link in turn, and the keys a
    // browser goes back, forward and home with.
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      web->convertPoint(QPointF(2, web->bounds().height() - 2), nullptr).toPoint());
    for (qsizetype link = 0; link < links.size(); ++link) {
        QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
        QTest::keyClick(window->windowHandle(), Qt::Key_Return);
        dismissAlerts();
    }
    for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home})
        QTest::keyClick(window->windowHandle(), key, Qt::AltModifier);
    QTest::keyClick(window->windowHandle(), Qt::Key_Back);
    QTest::keyClick(window->windowHandle(), Qt::Key_Forward);
    drawn(web);
    EXPECT_GE(openedOutside.size(), 2) << "the link near the page, tapped and chosen with the keyboard";
    for (const QUrl& url : std::as_const(openedOutside))
        EXPECT_EQ(url.scheme(), QStringLiteral("http")) << "only web addresses leave the application";
    savePicture(QStringLiteral("post-alone-hostile-pictures.png"));

    EXPECT_EQ(opened.names(), QStringList()) << "no file of the working folder, nor one the post names, is opened";
    // Nothing of what was planted shows.
    bool magenta = false;
    for (int y = 0; y < shown.height() && !magenta; ++y) {
        for (int x = 0; x < shown.width() && !magenta; ++x)
            magenta = shown.pixelColor(x, y) == QColor(Qt::magenta);
    }
    EXPECT_FALSE(magenta);
}

namespace {

// The forum's quote, as it writes "[quote=name]".
QString quoteOpening(int level)
{
    return QStringLiteral("<div class=\"bbcode_container\"><div class=\"bbcode_quote\"><div class=\"quote_container\">"
                          "<div class=\"bbcode_postedby\">Originally Posted by <strong>member%1</strong></div>"
                          "<div class=\"message\">")
        .arg(level);
}

const QString kQuoteClosing = QStringLiteral("</div></div></div></div>");

// The numbers a pattern ("begins (\\d+)") finds in the texts, in order.
QList<int> marks(const QStringList& texts, const QString& pattern)
{
    QList<int> numbers;
    const QRegularExpression expression(pattern + QStringLiteral("\\b"));
    for (const QString& text : texts) {
        QRegularExpressionMatchIterator it = expression.globalMatch(text);
        while (it.hasNext())
            numbers.append(it.next().captured(1).toInt());
    }
    return numbers;
}

QList<int> oneTo(int last)
{
    QList<int> numbers;
    for (int number = 1; number <= last; ++number)
        numbers.append(number);
    return numbers;
}

}  // namespace

TEST_F(HostilePostPageTest, TenThousandNestedQuotesOpenThreeBoxesDeepWithEveryWordWithinReach)
{
    // Quote in quote, ten thousand deep: each says something before the
    // quote it holds and after it.
    constexpr int kLevels = 10000;
    QString nested;
    for (int level = 1; level <= kLevels; ++level)
        nested += quoteOpening(level) + QStringLiteral("begins %1<br />\n").arg(level);
    nested += QStringLiteral("the innermost words");
    for (int level = kLevels; level >= 1; --level)
        nested += kQuoteClosing + QStringLiteral("<br />\nends %1").arg(level);
    PostDetailsController* screen = openPost(nested, QStringLiteral("<i>signed</i>"));
    WebView* web = screen->web();
    EXPECT_FALSE(web->lastPartShown()) << "a post this long comes in parts";
    savePicture(QStringLiteral("post-alone-deep-quotes-1.png"));

    // The page handed to the toolkit nests at most three boxes deep; deeper
    // quotes stand one after the other, each in its box, in the order the
    // post says them.
    int boxes = 0;
    const QStringList texts = readEveryPart(web, [&](WebView* part) {
        QTextDocument* page = browserOf(part)->document();
        EXPECT_LE(tableDepth(page->rootFrame()), WebPageMarkup::kMaxFrames) << "part " << part->shownPart();
        const QList<QRectF> frames = part->boxFrames();
        boxes += int(frames.size());
        for (const QRectF& frame : frames) {
            EXPECT_GT(frame.width(), part->frame().width() / 2) << "deep quotes keep room to read";
        }
        if (part->shownPart() == 2)
            savePicture(QStringLiteral("post-alone-deep-quotes-3.png"));
    });
    EXPECT_GE(boxes, kLevels);
    savePicture(QStringLiteral("post-alone-deep-quotes-last.png"));
    EXPECT_EQ(marks(texts, QStringLiteral("begins (\\d+)")), oneTo(kLevels));
    QList<int> backwards = oneTo(kLevels);
    std::reverse(backwards.begin(), backwards.end());
    EXPECT_EQ(marks(texts, QStringLiteral("ends (\\d+)")), backwards);
    EXPECT_EQ(marks(texts, QStringLiteral("member(\\d+)")), oneTo(kLevels));
    EXPECT_TRUE(texts.join(u'\n').contains(QStringLiteral("the innermost words")));
    EXPECT_TRUE(texts.last().contains(QStringLiteral("signed")));
    // Back a part with the link at the top: the reader goes on from the end
    // of the part before.
    const int last = web->shownPart();
    for (const auto& [href, frame] : web->linkFrames()) {
        if (href.endsWith(QStringLiteral("part-%1").arg(last))) {
            tap(web->convertPoint(frame.center(), nullptr));
            break;
        }
    }
    EXPECT_EQ(web->shownPart(), last - 1);
    QTextBrowser* browser = browserOf(web);
    EXPECT_EQ(browser->verticalScrollBar()->value(), browser->verticalScrollBar()->maximum());
    EXPECT_GT(browser->verticalScrollBar()->maximum(), 0);
}

TEST_F(HostilePostPageTest, AFiveMegabytePostOpensAPartAtATimeWithEveryParagraphWithinReach)
{
    // Five megabytes of paragraphs, bold and links among them.
    constexpr int kParagraphs = 50000;
    QString huge;
    huge.reserve(5 * 1024 * 1024 + 200);
    for (int paragraph = 1; paragraph <= kParagraphs; ++paragraph) {
        huge += QStringLiteral("<p>Paragraph %1: lorem <b>ipsum</b> dolor <a href=\"http://example.org/\">sit</a>"
                               " amet, consectetur adipiscing.</p>")
                    .arg(paragraph);
    }
    ASSERT_GE(huge.size(), 5 * 1000 * 1000);
    WebView* web = openPost(huge)->web();
    EXPECT_FALSE(web->lastPartShown());
    savePicture(QStringLiteral("post-alone-five-megabytes.png"));
    // The end of the first part, with the link to the next.
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      web->convertPoint(QPointF(2, web->bounds().height() / 2), nullptr).toPoint());
    QTest::keyClick(window->windowHandle(), Qt::Key_End);
    savePicture(QStringLiteral("post-alone-five-megabytes-end-of-part.png"));
    QTest::keyClick(window->windowHandle(), Qt::Key_Home);
    const QStringList paragraphs = readEveryPart(web, [](WebView* part) {
        EXPECT_LE(part->shownText().size(), WebPageMarkup::kPartLength) << "part " << part->shownPart();
    });
    EXPECT_EQ(marks(paragraphs, QStringLiteral("Paragraph (\\d+)")), oneTo(kParagraphs));
}

TEST_F(HostilePostPageTest, NestingOfEveryOtherKindStaysBounded)
{
    // Lists, tables, divs, font tags, indented blocks and tags never
    // closed, each ten thousand deep, in one post.
    constexpr int kLevels = 10000;
    QString message;
    const QList<std::pair<QString, QString>> kinds{
        {QStringLiteral("<ul><li>"), QStringLiteral("</li></ul>")},
        {QStringLiteral("<table border=\"1\"><tr><td>"), QStringLiteral("</td></tr></table>")},
        {QStringLiteral("<div>"), QStringLiteral("</div>")},
        {QStringLiteral("<font size=\"+1\" color=\"red\">"), QStringLiteral("</font>")},
        {QStringLiteral("<blockquote>"), QStringLiteral("</blockquote>")},
        {QStringLiteral("<ol><li><dl><dd>"), QStringLiteral("</dd></dl></li></ol>")},
        {QStringLiteral("<span><b><i>"), QString()},
    };
    for (qsizetype kind = 0; kind < kinds.size(); ++kind) {
        for (int level = 1; level <= kLevels; ++level)
            message += kinds.at(kind).first + QStringLiteral("k%1 %2 ").arg(kind).arg(level);
        for (int level = 1; level <= kLevels; ++level)
            message += kinds.at(kind).second;
    }
    PostDetailsController* screen = openPost(message);
    WebView* web = screen->web();
    const QStringList texts = readEveryPart(web, [](WebView* part) {
        QTextDocument* page = browserOf(part)->document();
        EXPECT_LE(tableDepth(page->rootFrame()), WebPageMarkup::kMaxFrames) << "part " << part->shownPart();
        EXPECT_LE(deepestIndent(page), WebPageMarkup::kMaxIndents + 1) << "part " << part->shownPart();
        for (const QRectF& line : part->lineFrames())
            EXPECT_LT(line.left(), part->frame().width() / 2) << "part " << part->shownPart();
    });
    for (qsizetype kind = 0; kind < kinds.size(); ++kind)
        EXPECT_EQ(marks(texts, QStringLiteral("k%1 (\\d+)").arg(kind)), oneTo(kLevels)) << kind;
}

TEST_F(HostilePostPageTest, ThePostsWordsShowAsWrittenAndAStyleSheetHidesNothing)
{
    // Words that look like script attributes, outside any tag, stay; the
    // attributes inside tags go.
    const QString words = QStringLiteral("Please set online=true and onion=3, then onload = \"go\" and onclick=x.");
    EXPECT_EQ(WebView::withoutScripts(words), words);
    EXPECT_EQ(WebView::withoutScripts(QStringLiteral("<p onclick=\"x()\" title=\"onion=3\">%1</p>").arg(words)),
              QStringLiteral("<p title=\"onion=3\">%1</p>").arg(words));

    // Style sheets in the post and in the signature: what follows each
    // still shows, and their rules apply; so does what follows a style
    // element never closed.
    PostDetailsController* screen = openPost(
        QStringLiteral("<p>%1</p><style type=\"text/css\">.loud { font-weight: bold }</style>"
                       "<p class=\"loud\">after the style sheet</p><div>a <script>alert(1)</script>line</div>")
            .arg(words),
        QStringLiteral("<style>.sig { color: gray }</style><span class=\"sig\">the signature</span>"
                       "<style>p { color: #333 }<p>after the open one</p>"));
    WebView* web = screen->web();
    const QString shown = web->shownText();
    EXPECT_TRUE(shown.contains(words)) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("after the style sheet"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("a line"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("after the open one"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("the signature"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QStringLiteral("alert"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QStringLiteral("font-weight"))) << shown.toStdString();
    QTextDocument* page = browserOf(web)->document();
    const QTextCursor found = page->find(QStringLiteral("after the style sheet"));
    ASSERT_FALSE(found.isNull());
    QTextCursor at(page);
    at.setPosition(found.selectionStart() + 1);
    EXPECT_EQ(at.charFormat().fontWeight(), QFont::Bold) << "the post's rule applies";
    savePicture(QStringLiteral("post-alone-style-sheets.png"));
}

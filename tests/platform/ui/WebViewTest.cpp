#include "UiTestSupport.h"

#include "platform/ui/Application.h"
#include "platform/ui/WebView.h"

#include "platform/foundation/AlertView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBrowser>

namespace {

class LinkGate : public WebViewDelegate {
public:
    bool allow = false;
    QList<QUrl> asked;
    // The links as the page wrote them, as the web view gave them.
    QStringList written;
    bool shouldStartLoadWithRequest(WebView* web, const QUrl& url, WebViewNavigationType type) override
    {
        if (type == WebViewNavigationType::LinkClicked) {
            asked.append(url);
            written.append(web->followedLink());
        }
        return allow;
    }
};

class Pictures : public WebImageProvider {
public:
    QList<QUrl> asked;
    std::function<void(const QImage&)> pending;
    QImage imageForUrl(const QUrl& url, std::function<void(const QImage&)> ready) override
    {
        asked.append(url);
        pending = std::move(ready);
        return QImage();
    }
};

void key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(widget, &release);
}

class WebViewTest : public UiTest {
protected:
    void TearDown() override
    {
        Application::sharedApplication().setOpenURLHandler({});
        WebView::setImageProvider(nullptr);
        UiTest::TearDown();
    }
};

}  // namespace

TEST_F(WebViewTest, TheDelegateDecidesWhetherALinkIsFollowed)
{
    QList<QUrl> opened;
    Application::sharedApplication().setOpenURLHandler([&opened](const QUrl& url) {
        opened.append(url);
        return true;
    });
    LinkGate gate;
    auto* web = new WebView(QRectF(0, 20, 320, 400));
    web->setDelegate(&gate);
    window->addSubview(web);
    web->loadHTMLString(QStringLiteral("<p>See <a href=\"showthread.php?t=5\">the thread</a>.</p>"),
                        QUrl(QStringLiteral("http://forum.example/")));
    EXPECT_EQ(web->shownText(), QStringLiteral("See the thread."));

    web->clickLink(QUrl(QStringLiteral("showthread.php?t=5")));
    ASSERT_EQ(gate.asked.size(), 1);
    EXPECT_EQ(gate.asked[0], QUrl(QStringLiteral("http://forum.example/showthread.php?t=5")));
    EXPECT_TRUE(opened.isEmpty()) << "a refused link goes nowhere";
    EXPECT_EQ(web->shownText(), QStringLiteral("See the thread."));

    // Allowed, a web link goes to the desktop; no other scheme ever does.
    gate.allow = true;
    web->clickLink(QUrl(QStringLiteral("showthread.php?t=5")));
    web->clickLink(QUrl(QStringLiteral("mu:thread/5")));
    web->clickLink(QUrl(QStringLiteral("file:///etc/passwd")));
    EXPECT_EQ(opened, QList<QUrl>({QUrl(QStringLiteral("http://forum.example/showthread.php?t=5"))}));
    EXPECT_EQ(gate.asked.size(), 4);
}

TEST_F(WebViewTest, APageNeverRunsAScript)
{
    auto* web = new WebView(QRectF(0, 20, 320, 400));
    window->addSubview(web);
    const int alertsBefore = AlertView::shownCount();
    web->loadHTMLString(QStringLiteral("<html><head><script>alert('boo');</script></head>"
                                       "<body onload=\"alert('load')\"><p>Hello</p>"
                                       "<SCRIPT type='text/javascript'>document.write('injected')</SCRIPT>"
                                       "<img src=\"x.png\" onerror=\"alert(1)\"></body></html>"),
                        QUrl(QStringLiteral("http://forum.example/")));
    EXPECT_EQ(web->stringByEvaluatingJavaScriptFromString(QStringLiteral("window.alert=null; 1+1")), QString());
    EXPECT_EQ(AlertView::shownCount(), alertsBefore);
    EXPECT_FALSE(web->shownText().contains(QStringLiteral("boo")));
    EXPECT_FALSE(web->shownText().contains(QStringLiteral("injected")));
    EXPECT_TRUE(web->shownText().contains(QStringLiteral("Hello")));
    EXPECT_FALSE(WebView::withoutScripts(QStringLiteral("<b onclick='x()'>t</b>")).contains(QStringLiteral("onclick")));
}

TEST_F(WebViewTest, PicturesComeThroughTheInstalledProvider)
{
    auto pictures = std::make_shared<Pictures>();
    WebView::setImageProvider(pictures);
    auto* web = new WebView(QRectF(0, 20, 320, 400));
    window->addSubview(web);
    web->loadHTMLString(QStringLiteral("<p><img src=\"attachment.php?id=3\"></p>"),
                        QUrl(QStringLiteral("http://forum.example/forum/")));
    ASSERT_FALSE(pictures->asked.isEmpty());
    EXPECT_EQ(pictures->asked.first(), QUrl(QStringLiteral("http://forum.example/forum/attachment.php?id=3")));
    ASSERT_TRUE(pictures->pending);
    QImage picture(40, 30, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    pictures->pending(picture);
    web->deleteLater();
    turnEventLoop();
    // A picture arriving for a page that has gone is dropped quietly.
    pictures->pending(picture);
}

namespace {

// Pictures that come when the test says, each asked for once.
class SlowPictures : public WebImageProvider {
public:
    QList<QUrl> asked;
    QHash<QUrl, std::function<void(const QImage&)>> pending;
    QImage imageForUrl(const QUrl& url, std::function<void(const QImage&)> ready) override
    {
        asked.append(url);
        pending.insert(url, std::move(ready));
        return QImage();
    }
    void answer(const QString& name, const QSize& size)
    {
        const QUrl url = QUrl(QStringLiteral("http://forum.example/")).resolved(QUrl(name));
        ASSERT_TRUE(pending.contains(url)) << name.toStdString();
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        pending.take(url)(picture);
    }
};

bool inside(const QRectF& picture, const QRectF& line)
{
    return picture.top() >= line.top() - 0.5 && picture.bottom() <= line.bottom() + 0.5;
}

// Lines are a text line high unless they hold a picture, and then no higher
// than it and a text line; pictures fit the page and never overlap.
void expectTidy(const WebView& web, qreal textLine, const std::string& when)
{
    const QList<QRectF> lines = web.lineFrames();
    const QList<QRectF> pictures = web.pictureFrames();
    const qreal room = web.frame().width() - 16;
    qreal height = 16;
    for (const QRectF& line : lines) {
        qreal tallest = 0;
        for (const QRectF& picture : pictures) {
            if (inside(picture, line))
                tallest = qMax(tallest, picture.height());
        }
        EXPECT_LE(line.height(), qMax(tallest, textLine) + (tallest > 0 ? textLine : textLine / 2))
            << when << ": a line at " << line.y();
        height += line.height();
    }
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        EXPECT_LE(pictures.at(i).width(), room) << when << ": picture " << i;
        EXPECT_GE(pictures.at(i).left(), 7.5) << when << ": picture " << i;
        for (qsizetype j = i + 1; j < pictures.size(); ++j) {
            const QRectF both = pictures.at(i).intersected(pictures.at(j));
            EXPECT_LT(both.width() * both.height(), 1.0) << when << ": pictures " << i << " and " << j;
        }
    }
    EXPECT_LE(web.contentSize().height(), height + 1) << when;
}

}  // namespace

TEST_F(WebViewTest, PicturesFitTheirLinesAndLinesKeepTheirHeightWhileThePicturesArrive)
{
    auto pictures = std::make_shared<SlowPictures>();
    WebView::setImageProvider(pictures);
    auto* web = new WebView(QRectF(0, 20, 320, 400));
    window->addSubview(web);
    turnEventLoop();
    web->loadHTMLString(
        QStringLiteral("<html><style>body { font: 13px Verdana; }</style><body><div style=\"width:310px\">Pictures in "
                       "posts: attach up to four. Here are two of mine, and a chart inline: <img src=\"chart.png\">"
                       "</div><a href=\"a\"><img src=\"tall.jpg\"></a><br /><a href=\"b\"><img src=\"wide.jpg\"></a>"
                       "</body></html>Ride more, worry less, ride more, worry less, ride more: "
                       "<img src=\"smile.png\"> <img src=\"smile.png\">"),
        QUrl(QStringLiteral("http://forum.example/")));
    ASSERT_EQ(pictures->pending.size(), 4);
    const QList<QRectF> first = web->lineFrames();
    ASSERT_FALSE(first.isEmpty());
    const qreal textLine = first.first().height();
    EXPECT_LT(textLine, 24);
    expectTidy(*web, textLine, "before the pictures");

    // In an order unlike the page's, one at a time.
    pictures->answer(QStringLiteral("smile.png"), QSize(18, 18));
    expectTidy(*web, textLine, "with the smilies");
    pictures->answer(QStringLiteral("wide.jpg"), QSize(640, 400));
    expectTidy(*web, textLine, "with the wide picture");
    pictures->answer(QStringLiteral("chart.png"), QSize(420, 280));
    expectTidy(*web, textLine, "with the chart");
    pictures->answer(QStringLiteral("tall.jpg"), QSize(400, 560));
    expectTidy(*web, textLine, "with every picture");
    web->update();
    turnEventLoop();
    EXPECT_EQ(pictures->asked.size(), 4) << "laying the page out again asks for nothing";

    // Small pictures keep their size; the others take the line's width with
    // their proportions. The chart comes right under the text.
    const QList<QRectF> shown = web->pictureFrames();
    ASSERT_EQ(shown.size(), 5);
    EXPECT_EQ(shown.at(0).size(), QSizeF(304, 203));
    EXPECT_EQ(shown.at(1).size(), QSizeF(304, 426));
    EXPECT_EQ(shown.at(2).size(), QSizeF(304, 190));
    EXPECT_EQ(shown.at(3).size(), QSizeF(18, 18));
    const QList<QRectF> lines = web->lineFrames();
    EXPECT_LE(shown.at(0).top() - lines.at(1).bottom(), 1.0);
    EXPECT_LE(shown.at(0).bottom(), shown.at(1).top());
    EXPECT_LE(shown.at(1).bottom(), shown.at(2).top());
    EXPECT_TRUE(web->shownText().startsWith(QStringLiteral("Pictures in posts")));
    // What is drawn there is the picture that came, not a placeholder.
    const QImage drawn = web->grab().toImage();
    int seen = 0;
    for (const QRectF& frame : shown) {
        const QPoint middle = (frame.center() * drawn.devicePixelRatio()).toPoint();
        if (!drawn.rect().contains(middle))
            continue;
        ++seen;
        EXPECT_EQ(drawn.pixelColor(middle), QColor(Qt::darkCyan)) << frame.x() << "," << frame.y();
    }
    EXPECT_GE(seen, 1);

    // A narrower page fits them again.
    web->setFrame(QRectF(0, 20, 200, 400));
    turnEventLoop();
    expectTidy(*web, textLine, "on a narrower page");
    EXPECT_EQ(web->pictureFrames().at(0).size(), QSizeF(184, 123));
    web->setFrame(QRectF(0, 20, 320, 400));
    turnEventLoop();
    EXPECT_EQ(web->pictureFrames().at(0).size(), QSizeF(304, 203));
    expectTidy(*web, textLine, "back at full width");
}

TEST_F(WebViewTest, ThePageReadsAsABrowserShowsIt)
{
    auto* web = new WebView(QRectF(0, 20, 320, 400));
    window->addSubview(web);
    turnEventLoop();
    const QUrl base(QStringLiteral("http://forum.example/"));

    // Text after a block starts a line of its own, without an empty line.
    web->loadHTMLString(QStringLiteral("<div>text</div>more"), base);
    EXPECT_EQ(web->shownText(), QStringLiteral("text\nmore"));
    web->loadHTMLString(QStringLiteral("<div><div>a</div></div><div>b</div>c <b>d</b>"), base);
    EXPECT_EQ(web->lineFrames().size(), 3);

    // What follows the end of the body takes the body's style.
    web->loadHTMLString(QStringLiteral("<html><style>body { font: 30px Verdana; }</style><body><div>big</div>"
                                       "</body></html>after"),
                        base);
    const QList<QRectF> lines = web->lineFrames();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_GT(lines.at(0).height(), 30);
    EXPECT_EQ(lines.at(1).height(), lines.at(0).height());
    // ... on a line of its own: a signature never runs on from the last
    // line of the body, pictures or words.
    web->loadHTMLString(QStringLiteral("<body>words <img src=\"p.png\"></body></html>signed <i>so</i>"), base);
    EXPECT_EQ(web->lineFrames().size(), 2);
    EXPECT_EQ(web->shownText(), QStringLiteral("words \ufffc\nsigned so"));
}

TEST_F(WebViewTest, DivsWithABorderDrawAsBoxesEachInsideTheOneThatHoldsIt)
{
    auto* web = new WebView(QRectF(0, 20, 320, 400));
    window->addSubview(web);
    turnEventLoop();
    const QUrl base(QStringLiteral("http://forum.example/"));

    // The page's rule gives the quotes a border; quotes hold quotes.
    web->loadHTMLString(
        QStringLiteral("<html><style type=\"text/css\">.quote {background: #D8E3EB; border:1px solid black;}"
                       "</style><body><DIV class=\"quote\"><div>carol</div><div class=\"quote\"><div>bob</div>"
                       "<div class=\"quote\">alice says</div>bob says</div>carol says</div>after"
                       "<div style=\"border: 2px solid #c00\">framed</div><div class=\"plain\">plain</div>"
                       "</body></html>"),
        base);
    EXPECT_EQ(web->shownText().split(u'\n', Qt::SkipEmptyParts),
              QStringList({QStringLiteral("carol"), QStringLiteral("bob"), QStringLiteral("alice says"),
                           QStringLiteral("bob says"), QStringLiteral("carol says"), QStringLiteral("after"),
                           QStringLiteral("framed"), QStringLiteral("plain")}));
    const QList<QRectF> boxes = web->boxFrames();
    ASSERT_EQ(boxes.size(), 4) << "three quotes and the framed line";
    // Each quote stands inside the one before it, with room inside its border.
    for (int i = 1; i < 3; ++i) {
        EXPECT_GT(boxes.at(i).left(), boxes.at(i - 1).left()) << i;
        EXPECT_LT(boxes.at(i).right(), boxes.at(i - 1).right()) << i;
        EXPECT_GT(boxes.at(i).top(), boxes.at(i - 1).top()) << i;
        EXPECT_LT(boxes.at(i).bottom(), boxes.at(i - 1).bottom()) << i;
    }
    // The lines with words: carol, bob, alice says, bob says, carol says, after.
    QList<QRectF> lines = web->lineFrames();
    lines.removeIf([](const QRectF& line) { return line.width() <= 0; });
    ASSERT_EQ(lines.size(), 8);
    EXPECT_GT(lines.at(2).top(), boxes.at(2).top() + 2) << "alice's words inside her box, clear of its edge";
    EXPECT_LT(lines.at(2).bottom(), boxes.at(2).bottom() - 2);
    EXPECT_GT(lines.at(2).left(), boxes.at(2).left() + 2);
    EXPECT_GE(lines.at(3).top(), boxes.at(2).bottom() - 2) << "bob's words after her box";
    EXPECT_LT(lines.at(3).bottom(), boxes.at(1).bottom());
    EXPECT_GE(lines.at(5).top(), boxes.at(0).bottom() - 2) << "the text after the quotes outside them";
    EXPECT_GE(boxes.at(3).top(), lines.at(5).bottom() - 2);
    EXPECT_GE(lines.at(7).top(), boxes.at(3).bottom() - 2) << "a div without a border stays a plain line";
}

TEST_F(WebViewTest, ALinkTappedOrChosenWithTheKeyboardIsHandedOverAsThePageWroteIt)
{
    LinkGate gate;
    auto* web = new WebView(QRectF(0, 20, 320, 200));
    web->setDelegate(&gate);
    window->addSubview(web);
    web->loadHTMLString(QStringLiteral("<p>Go <a href=\"MU:forum\">up</a> or <a href=\"mu:index\">home</a>.</p>"),
                        QUrl(QStringLiteral("http://forum.example/")));
    const QList<std::pair<QString, QRectF>> links = web->linkFrames();
    ASSERT_EQ(links.size(), 2);
    EXPECT_EQ(links.at(0).first, QStringLiteral("MU:forum"));
    EXPECT_LT(links.at(0).second.right(), links.at(1).second.left());

    // The mouse: a press and a release on the link. Its address alone would
    // read "mu:forum".
    auto* browser = web->findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    QWidget* viewport = browser->viewport();
    const QPointF at = viewport->mapFrom(web, links.at(0).second.center().toPoint());
    QMouseEvent press(QEvent::MouseButtonPress, at, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
    ASSERT_EQ(gate.written, QStringList{QStringLiteral("MU:forum")});
    EXPECT_EQ(gate.asked.first().scheme(), QStringLiteral("mu"));
    EXPECT_TRUE(web->followedLink().isEmpty()) << "only while the delegate is asked";

    // The keyboard: Tab moves to the link, Return follows it.
    web->loadHTMLString(QStringLiteral("<p>Back <a href=\"MU:forum\">up</a>.</p>"),
                        QUrl(QStringLiteral("http://forum.example/")));
    gate.written.clear();
    browser->setFocus();
    key(browser, Qt::Key_Tab);
    key(browser, Qt::Key_Return);
    EXPECT_EQ(gate.written, QStringList{QStringLiteral("MU:forum")});
}

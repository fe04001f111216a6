#include "UiTestSupport.h"

#include "platform/ui/Application.h"
#include "platform/ui/Font.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/StringDrawing.h"
#include "platform/ui/TextLayout.h"
#include "platform/ui/TextView.h"
#include "platform/ui/WebView.h"

#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

namespace {

class Editing : public TextViewDelegate {
public:
    QStringList log;
    bool mayBegin = true;
    bool textViewShouldBeginEditing(TextView*) override { return mayBegin; }
    void textViewDidBeginEditing(TextView*) override { log.append(QStringLiteral("begin")); }
    void textViewDidEndEditing(TextView*) override { log.append(QStringLiteral("end")); }
    void textViewDidChange(TextView* v) override { log.append(QStringLiteral("change:") + v->text()); }
};

class Gate : public WebViewDelegate {
public:
    int finished = 0;
    void webViewDidFinishLoad(WebView*) override { ++finished; }
};

class TextDetailsTest : public UiTest {};

}  // namespace

TEST_F(TextDetailsTest, TruncationModesAndWrapping)
{
    const QFont font = Font::systemFontOfSize(14);
    const QString text = QStringLiteral("beginning middle ending of a line that is far too long");
    const TextLayout tail(text, font, 120, 1, 0, LineBreakMode::TailTruncation);
    const TextLayout head(text, font, 120, 1, 0, LineBreakMode::HeadTruncation);
    const TextLayout middle(text, font, 120, 1, 0, LineBreakMode::MiddleTruncation);
    const TextLayout clip(text, font, 120, 1, 0, LineBreakMode::Clip);
    EXPECT_TRUE(tail.lines()[0].text.startsWith(QStringLiteral("beginning")));
    EXPECT_TRUE(tail.lines()[0].text.endsWith(QChar(0x2026)));
    EXPECT_TRUE(head.lines()[0].text.startsWith(QChar(0x2026)));
    EXPECT_TRUE(head.lines()[0].text.endsWith(QStringLiteral("long")));
    EXPECT_TRUE(middle.lines()[0].text.contains(QChar(0x2026)));
    EXPECT_TRUE(middle.lines()[0].text.endsWith(QStringLiteral("long")));
    EXPECT_EQ(clip.lines()[0].text, text) << "a clipped line is drawn whole and cut at the edge";
    for (const TextLayout* l : {&tail, &head, &middle})
        EXPECT_LE(l->lines()[0].width, 120);

    // A long word breaks inside when it alone is wider than the line;
    // character wrapping breaks anywhere.
    const TextLayout word(QStringLiteral("Supercalifragilisticexpialidocious"), font, 80, 0, 0, LineBreakMode::WordWrap);
    EXPECT_GT(word.lineCount(), 1);
    for (const TextLayout::Line& line : word.lines())
        EXPECT_LE(line.width, 80.5);
    const TextLayout chars(QStringLiteral("ab cd ef gh ij kl"), font, 40, 0, 0, LineBreakMode::CharacterWrap);
    EXPECT_GT(chars.lineCount(), 1);
    EXPECT_EQ(TextLayout(QString(), font, 100).size(), QSizeF(0, 0));

    // Drawing answers the size it took, the size measuring gives.
    QImage canvas(200, 200, QImage::Format_ARGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    const QSizeF drawn = StringDrawing::drawInRect(painter, text, QRectF(0, 0, 120, 200), font,
                                                   LineBreakMode::WordWrap, TextAlignment::Center);
    EXPECT_EQ(drawn, StringDrawing::sizeWithFont(text, font, QSizeF(120, 200), LineBreakMode::WordWrap));
    EXPECT_EQ(StringDrawing::drawAtPoint(painter, QStringLiteral("Hi"), QPointF(0, 0), font),
              StringDrawing::sizeWithFont(QStringLiteral("Hi"), font));
}

TEST_F(TextDetailsTest, TextViewsTellTheirDelegateAndReadOnlyOnesTakeNoFocus)
{
    Editing editing;
    auto* view = new TextView(QRectF(0, 20, 320, 200));
    view->setDelegate(&editing);
    window->addSubview(view);
    editing.mayBegin = false;
    EXPECT_FALSE(view->becomeFirstResponder());
    editing.mayBegin = true;
    EXPECT_TRUE(view->becomeFirstResponder());
    view->setText(QStringLiteral("set in code"));
    EXPECT_EQ(editing.log, QStringList({QStringLiteral("begin")})) << "setting the text in code is no change";
    view->resignFirstResponder();
    EXPECT_EQ(editing.log.last(), QStringLiteral("end"));
    view->setEditable(false);
    EXPECT_FALSE(view->canBecomeFirstResponder());
    EXPECT_FALSE(view->becomeFirstResponder());
    const TextRange before = view->selectedRange();
    view->scrollRangeToVisible(TextRange{3, 2});
    EXPECT_EQ(view->selectedRange(), before) << "showing a range keeps the selection";
}

TEST_F(TextDetailsTest, ReplacingTheTextPutsTheCaretAtItsEndAndKeepsEveryCharacter)
{
    auto* view = new TextView(QRectF(0, 20, 320, 60));
    window->addSubview(view);
    ASSERT_TRUE(view->becomeFirstResponder());
    // The editor wraps a selection in tags by replacing the whole text; the
    // caret then stands where the text view puts it: after the last unit.
    view->setText(QStringLiteral("a\U0001F600bc"));
    view->setSelectedRange(TextRange{3, 1});
    const QString text = view->text();
    const TextRange b = view->selectedRange();
    view->setText(text.left(b.location) + QStringLiteral("[B]") + text.mid(b.location, b.length)
                  + QStringLiteral("[/B]") + text.mid(b.location + b.length));
    EXPECT_EQ(view->text(), QStringLiteral("a\U0001F600[B]b[/B]c"));
    EXPECT_EQ(view->selectedRange(), (TextRange{12, 0}));
    // Without a selection the editor puts the caret between the tags itself.
    view->setText(QStringLiteral("a\U0001F600[SIZE=3][/SIZE]bc"));
    view->setSelectedRange(TextRange{3 + 6 + 2, 0});
    EXPECT_EQ(view->text().mid(view->selectedRange().location, 7), QStringLiteral("[/SIZE]"));

    // What was set reads back unit for unit, no-break spaces and line
    // separators too; only a "\r\n" or "\r" line break reads as "\n".
    const QString kept = QStringLiteral("1\u00A0000 \u2028x\ty");
    view->setText(kept);
    EXPECT_EQ(view->text(), kept);
    view->setText(QStringLiteral("one\r\ntwo\rthree\nfour"));
    EXPECT_EQ(view->text(), QStringLiteral("one\ntwo\nthree\nfour"));
    EXPECT_EQ(view->selectedRange(), (TextRange{int(view->text().size()), 0}));

    // A long text set in is read from its top, though the caret is at its end.
    QStringList lines;
    for (int i = 0; i < 60; ++i)
        lines.append(QStringLiteral("line %1").arg(i));
    view->setText(lines.join(u'\n'));
    auto* edit = view->findChild<QPlainTextEdit*>();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->verticalScrollBar()->value(), 0);
    EXPECT_GT(edit->verticalScrollBar()->maximum(), 0);
    view->resignFirstResponder();
}

TEST_F(TextDetailsTest, EditingGoesOnWhileAMenuOrAnotherWindowHasTheFocusForAWhile)
{
    Editing editing;
    auto* view = new TextView(QRectF(0, 20, 320, 200));
    view->setDelegate(&editing);
    window->addSubview(view);
    auto* edit = view->findChild<QPlainTextEdit*>();
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(view->becomeFirstResponder());
    ASSERT_EQ(editing.log, QStringList({QStringLiteral("begin")}));

    // The context menu (to paste) and a file chooser over the window take
    // the focus for a while: the text is still being edited. The focus
    // changes are sent straight to the text because the test has no menu or
    // second window to take the focus.
    for (Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(edit, &out);
        EXPECT_TRUE(view->isFirstResponder());
        QFocusEvent in(QEvent::FocusIn, reason);
        QApplication::sendEvent(edit, &in);
    }
    EXPECT_EQ(editing.log, QStringList({QStringLiteral("begin")}));

    // Another input taking the keyboard ends it.
    QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(edit, &out);
    EXPECT_EQ(editing.log, QStringList({QStringLiteral("begin"), QStringLiteral("end")}));

    // Resigning leaves no focus behind to come back to when the window is
    // active again.
    ASSERT_TRUE(view->becomeFirstResponder());
    view->resignFirstResponder();
    EXPECT_NE(window->focusWidget(), edit);
    EXPECT_EQ(editing.log.last(), QStringLiteral("end"));
}

TEST_F(TextDetailsTest, SegmentsKeepTheSelectionOnTheSameSegmentAsOthersComeAndGo)
{
    SegmentedControl control({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    control.setSelectedSegmentIndex(1);
    control.insertSegmentWithTitle(QStringLiteral("z"), 0);
    EXPECT_EQ(control.selectedSegmentIndex(), 2);
    EXPECT_EQ(control.titleForSegmentAtIndex(2), QStringLiteral("b"));
    control.removeSegmentAtIndex(0);
    EXPECT_EQ(control.selectedSegmentIndex(), 1);
    control.removeSegmentAtIndex(1);
    EXPECT_EQ(control.selectedSegmentIndex(), SegmentedControl::NoSegment);
    control.setSelectedSegmentIndex(7);
    EXPECT_EQ(control.selectedSegmentIndex(), SegmentedControl::NoSegment);
    control.setMomentary(true);
    int changes = 0;
    control.addAction([&changes, &control](Control*) {
        ++changes;
        EXPECT_EQ(control.selectedSegmentIndex(), 0) << "told with the tapped segment";
    }, ControlEvent::ValueChanged);
    control.tapSegment(0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(control.selectedSegmentIndex(), SegmentedControl::NoSegment) << "a momentary control springs back";
    control.setFrame(QRectF(0, 0, 200, 30));
    control.setWidth(50, 0);
    EXPECT_EQ(control.rectForSegment(0).width(), 50);
    EXPECT_EQ(control.rectForSegment(1).width(), 150);
}

TEST_F(TextDetailsTest, AllowedLinksToAnchorsScrollAndLocalFilesAreNeverRead)
{
    QTemporaryDir folder;
    const QString page = QDir(folder.path()).filePath(QStringLiteral("rules.html"));
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<p>Forum rules</p><script>alert(1)</script>");
    file.close();
    QImage secret(40, 30, QImage::Format_RGB32);
    secret.fill(Qt::red);
    ASSERT_TRUE(secret.save(QDir(folder.path()).filePath(QStringLiteral("secret.png"))));
    QList<QUrl> desktop;
    Application::sharedApplication().setOpenURLHandler([&](const QUrl& url) {
        desktop.append(url);
        return true;
    });
    Gate gate;
    auto* web = new WebView(QRectF(0, 20, 320, 400));
    web->setDelegate(&gate);
    window->addSubview(web);
    // A page whose links and pictures lead to the disk, as a forum could write them.
    web->loadHTMLString(QStringLiteral("<p><a href='#end'>down</a> <img src='secret.png'> "
                                       "<img src='file:///%1'></p><p><a name='end'>end</a></p>")
                            .arg(QDir(folder.path()).filePath(QStringLiteral("secret.png"))),
                        QUrl::fromLocalFile(folder.path() + QLatin1Char('/')));
    EXPECT_EQ(gate.finished, 1);
    // Neither picture was read from the disk: none is shown at its size.
    for (const QRectF& picture : web->pictureFrames())
        EXPECT_NE(picture.size(), QSizeF(40, 30));
    web->clickLink(QUrl(QStringLiteral("#end")));
    EXPECT_TRUE(web->shownText().contains(QStringLiteral("down")));
    // A link to a local page leaves the page as it is, and the desktop never
    // sees it.
    const QString before = web->shownText();
    web->clickLink(QUrl(QStringLiteral("rules.html")));
    web->clickLink(QStringLiteral("file://") + page);
    EXPECT_EQ(web->shownText(), before);
    EXPECT_EQ(web->baseURL(), QUrl::fromLocalFile(folder.path() + QLatin1Char('/')));
    EXPECT_TRUE(desktop.isEmpty());
    // A web link, the delegate agreeing, goes to the desktop.
    web->clickLink(QStringLiteral("https://example.org/rules"));
    ASSERT_EQ(desktop.size(), 1);
    EXPECT_EQ(desktop.first().host(), QStringLiteral("example.org"));
    Application::sharedApplication().setOpenURLHandler({});
    web->loadData(QByteArray("plain <b>text</b>"), QStringLiteral("text/plain"), QStringLiteral("utf-8"), QUrl());
    EXPECT_EQ(web->shownText(), QStringLiteral("plain <b>text</b>"));
}

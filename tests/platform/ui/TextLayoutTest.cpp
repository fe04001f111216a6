#include "UiTestSupport.h"

#include "platform/ui/EmojiText.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/StringDrawing.h"
#include "platform/ui/TextLayout.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The rows of an image that hold any dark ink.
QList<int> inkRows(const QImage& image)
{
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 100 && qGray(image.pixel(x, y)) < 128) {
                rows.append(y);
                break;
            }
        }
    }
    return rows;
}

// Bands of consecutive ink rows: one per drawn line of text.
int bands(const QList<int>& rows)
{
    int count = 0;
    for (int i = 0; i < rows.size(); ++i) {
        if (i == 0 || rows[i] > rows[i - 1] + 1)
            ++count;
    }
    return count;
}

class TextTest : public UiTest {};

const QString kPost = QStringLiteral(
    "Quoted text wraps at word boundaries within the width of the box, and a line that does not fit is cut "
    "with an ellipsis at its tail when the height runs out.");

}  // namespace

TEST_F(TextTest, MeasurementAgreesWithTheLinesALabelDraws)
{
    const QFont font = Font::fontWithName(QStringLiteral("Helvetica"), 13);
    const QSizeF measured = StringDrawing::sizeWithFont(kPost, font, QSizeF(300, 9999), LineBreakMode::TailTruncation);
    const TextLayout layout(kPost, font, 300, 0, 9999, LineBreakMode::TailTruncation);
    EXPECT_GE(layout.lineCount(), 3);
    EXPECT_EQ(measured.height(), std::ceil(layout.lineHeight() * layout.lineCount() - 0.001));
    EXPECT_LE(measured.width(), 300);

    auto* label = new Label(QRectF(10, 30, 300, 0));
    label->setFont(font);
    label->setNumberOfLines(0);
    label->setLineBreakMode(LineBreakMode::TailTruncation);
    label->setText(kPost);
    EXPECT_EQ(label->sizeThatFits(QSizeF(300, 0)), measured);
    label->setFrame(QRectF(10, 30, 300, measured.height()));
    window->addSubview(label);
    const TextLayout drawn = label->currentLayout();
    ASSERT_EQ(drawn.lineCount(), layout.lineCount());
    for (int i = 0; i < layout.lineCount(); ++i)
        EXPECT_EQ(drawn.lines()[i].text, layout.lines()[i].text);

    // The ink falls inside the measured box, one band per line.
    const QImage picture = Screenshot::render(label, 1);
    const QList<int> ink = inkRows(picture);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LE(ink.last(), int(measured.height()));
    EXPECT_EQ(bands(ink), layout.lineCount());

    // Cut to two lines' height: two lines, the last ending in an ellipsis.
    const QSizeF two = StringDrawing::sizeWithFont(kPost, font, QSizeF(300, layout.lineHeight() * 2 + 1),
                                                   LineBreakMode::TailTruncation);
    EXPECT_EQ(two.height(), std::ceil(layout.lineHeight() * 2 - 0.001));
    label->setFrame(QRectF(10, 30, 300, two.height()));
    EXPECT_EQ(label->currentLayout().lineCount(), 2);
    EXPECT_TRUE(label->currentLayout().lines().last().text.endsWith(QChar(0x2026)));
    EXPECT_EQ(bands(inkRows(Screenshot::render(label, 1))), 2);
}

TEST_F(TextTest, PlatformFontNamesMapToAnInstalledSansFamily)
{
    const QFont plain = Font::fontWithName(QStringLiteral("Helvetica"), 13);
    const QFont bold = Font::fontWithName(QStringLiteral("Helvetica-Bold"), 13);
    const QFont neue = Font::fontWithName(QStringLiteral("HelveticaNeue-Bold"), 12);
    EXPECT_EQ(plain.family(), bold.family());
    EXPECT_EQ(bold.family(), neue.family());
    EXPECT_FALSE(plain.bold());
    EXPECT_TRUE(bold.bold());
    EXPECT_TRUE(neue.bold());
    EXPECT_EQ(neue.pixelSize(), 12);
    EXPECT_TRUE(QFontInfo(plain).family().compare(plain.family(), Qt::CaseInsensitive) == 0)
        << "the mapped family is installed: " << QFontInfo(plain).family().toStdString();
    // One line keeps its width; a single-line label cuts the tail.
    const QSizeF line = StringDrawing::sizeWithFont(QStringLiteral("Hello"), plain);
    EXPECT_GT(line.width(), 20);
    EXPECT_EQ(line.height(), std::ceil(Font::lineHeight(plain) - 0.001));
    const QSizeF cut = StringDrawing::sizeWithFont(kPost, plain, 100.0, LineBreakMode::TailTruncation);
    EXPECT_LE(cut.width(), 100);
    EXPECT_EQ(cut.height(), line.height());
}

namespace {

// A text drawn as the application draws it, black on white, four pixels a point.
QImage drawn(const QString& text, const QFont& font)
{
    QImage image(QSize(120, 30) * 4, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(4);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    StringDrawing::drawAtPoint(painter, text, QPointF(4, 4), font);
    return image;
}

// Rows holding anything but white.
int inkHeight(const QImage& image)
{
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                top = top < 0 ? y : top;
                bottom = y;
                break;
            }
        }
    }
    return top < 0 ? 0 : bottom - top + 1;
}

// Pixels of a clear colour, neither black, white nor grey.
int colouredPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 40 ? 1 : 0;
        }
    }
    return count;
}

}  // namespace

TEST_F(TextTest, EmojiAreDrawnInColourAsTallAsTheLettersAndAJoinedSequenceAsOnePicture)
{
    const QFont font = Font::fontWithName(QStringLiteral("Helvetica"), 13);
    const QString raisedHand = QStringLiteral("\U0001F64B");
    const QString womanRaisingHand = raisedHand + QStringLiteral("\u200D\u2640\uFE0F");
    const QString heart = QStringLiteral("\u2764\uFE0F");
    const QString coffee = QStringLiteral("\u2615");
    const QString text = QStringLiteral("Me too! ") + womanRaisingHand + QStringLiteral(" ") + heart +
                         QStringLiteral(" \u2640 ") + coffee + QStringLiteral(" ok");
    QStringList emoji;
    for (const EmojiText::Run& run : EmojiText::runs(text)) {
        if (run.emoji)
            emoji.append(text.mid(run.start, run.length));
    }
    EXPECT_EQ(emoji, QStringList({womanRaisingHand, heart, coffee})) << "the female sign alone is a letter";

    // A heart asked for as an emoji, and a cup that is one by default: in
    // colour, as the other emoji are, where the letters' own font has black
    // outlines of both.
    EXPECT_GT(colouredPixels(drawn(heart, font)), 100);
    EXPECT_GT(colouredPixels(drawn(coffee, font)), 100);
    EXPECT_GT(colouredPixels(drawn(QStringLiteral("\U0001F44D"), font)), 100);
    EXPECT_EQ(colouredPixels(drawn(QStringLiteral("\u2640"), font)), 0);

    // As tall as a line of the letters, no smaller.
    const qreal lineHeight = Font::lineHeight(font) * 4;
    const int thumb = inkHeight(drawn(QStringLiteral("\U0001F44D"), font));
    EXPECT_GE(thumb, 0.9 * lineHeight);
    EXPECT_LE(thumb, 1.1 * lineHeight);

    // The joined sequence is one picture: as wide as one emoji, and measured
    // as it is drawn, so lines break where they are drawn.
    EXPECT_NEAR(EmojiText::width(womanRaisingHand, font), EmojiText::width(raisedHand, font), 1.0);
    const TextLayout line(text, font, 1000, 1, 0, LineBreakMode::Clip);
    EXPECT_EQ(line.lines().first().width, EmojiText::width(text, font));
    const TextLayout wrapped(text, font, EmojiText::width(QStringLiteral("Me too! ") + womanRaisingHand, font) + 2);
    ASSERT_GE(wrapped.lineCount(), 2);
    EXPECT_EQ(wrapped.lines().first().text, QStringLiteral("Me too! ") + womanRaisingHand);
}
TEST_F(TextTest, RangesShowWhereTheirLinesDrawThem)
{
    const QFont font = Font::fontWithName(QStringLiteral("Helvetica"), 13);
    const QFontMetricsF metrics(font);
    const QRectF box(10, 20, 300, 400);

    // One line: after the advance of what comes before, as wide as the word.
    const TextLayout line(QStringLiteral("hello world"), font, 300);
    QList<QRectF> rects = line.rectsForRange(6, 11, box, TextAlignment::Left);
    ASSERT_EQ(rects.size(), 1);
    EXPECT_NEAR(rects[0].x(), 10 + metrics.horizontalAdvance(QStringLiteral("hello ")), 0.5);
    EXPECT_NEAR(rects[0].width(), metrics.horizontalAdvance(QStringLiteral("world")), 0.5);
    EXPECT_EQ(rects[0].y(), 20);
    EXPECT_EQ(rects[0].height(), line.lineHeight());
    // Right aligned, the line ends at the box's right edge.
    rects = line.rectsForRange(6, 11, box, TextAlignment::Right);
    ASSERT_EQ(rects.size(), 1);
    EXPECT_NEAR(rects[0].right(), 310, 0.5);

    // Over a line break: a piece on each line; "\r\n" counts both its units.
    const TextLayout two(QStringLiteral("ab\r\ncd"), font, 300);
    ASSERT_EQ(two.lineCount(), 2);
    rects = two.rectsForRange(1, 5, box, TextAlignment::Left);
    ASSERT_EQ(rects.size(), 2);
    EXPECT_NEAR(rects[0].x(), 10 + metrics.horizontalAdvance(QStringLiteral("a")), 0.5);
    EXPECT_EQ(rects[1].x(), 10);
    EXPECT_NEAR(rects[1].width(), metrics.horizontalAdvance(QStringLiteral("c")), 0.5);
    EXPECT_EQ(rects[1].y(), 20 + two.lineHeight());

    // A wrapped text: a word on the second line is marked there.
    const TextLayout wrapped(kPost, font, 300);
    ASSERT_GE(wrapped.lineCount(), 2);
    const int start = int(kPost.indexOf(wrapped.lines()[1].text));
    ASSERT_GT(start, 0);
    rects = wrapped.rectsForRange(start, start + 3, box, TextAlignment::Left);
    ASSERT_EQ(rects.size(), 1);
    EXPECT_EQ(rects[0].x(), 10);
    EXPECT_EQ(rects[0].y(), 20 + wrapped.lineHeight());

    // What the ellipsis took, or lines cut off, show nowhere.
    const TextLayout cut(kPost, font, 300, 1, 0, LineBreakMode::TailTruncation);
    ASSERT_TRUE(cut.isTruncated());
    EXPECT_TRUE(cut.rectsForRange(int(kPost.size()) - 5, int(kPost.size()), box, TextAlignment::Left).isEmpty());
    EXPECT_EQ(cut.rectsForRange(0, 6, box, TextAlignment::Left).size(), 1);

    // A right-to-left line: the whole of it is the line's width, inside the box.
    const QString arabic = QStringLiteral("مرحبا بالعالم");
    const TextLayout rtl(arabic, font, 300);
    rects = rtl.rectsForRange(0, int(arabic.size()), box, TextAlignment::Left);
    ASSERT_EQ(rects.size(), 1);
    EXPECT_NEAR(rects[0].width(), rtl.lines()[0].width, 1.0);
    EXPECT_NEAR(rects[0].x(), 10, 1.0);
    // Its first word is drawn at the right end.
    rects = rtl.rectsForRange(0, 5, box, TextAlignment::Left);
    ASSERT_EQ(rects.size(), 1);
    EXPECT_NEAR(rects[0].right(), 10 + rtl.lines()[0].width, 1.0);
}


TEST_F(TextTest, ALongTextShapesOnlyTheLinesItShowsAndDrawsThemAsTheWholeTextDrawn)
{
    const QFont font = Font::fontWithName(QStringLiteral("Helvetica"), 13);
    QString text;
    for (int i = 0; i < 120; ++i)
        text += QStringLiteral("Line %1 of a long post \U0001F44D with an emoji.\n").arg(i);
    const TextLayout layout(text, font, 280);
    ASSERT_GE(layout.lineCount(), 120);
    const qreal line = layout.lineHeight();
    const QRectF rect(0, 0, 280, layout.height());

    // A window onto lines 50 to 59, as a scrolled row shows them.
    const QRect band(0, int(std::ceil(50 * line)), 280, int(10 * line));
    const QRectF shown(band);
    QImage part(QSize(280, int(layout.height())), QImage::Format_ARGB32_Premultiplied);
    part.fill(Qt::white);
    const qint64 before = TextLayout::shapeCount();
    const auto drawShown = [&](QImage& into) {
        QPainter painter(&into);
        painter.setPen(Qt::black);
        painter.setClipRect(shown);
        layout.draw(painter, rect, TextAlignment::Left, shown);
    };
    drawShown(part);
    QImage again = part;
    drawShown(again);
    const qint64 shaped = TextLayout::shapeCount() - before;
    EXPECT_GE(shaped, 10);
    EXPECT_LE(shaped, 14) << "the lines in view and the one beside each edge, once";

    // The same pixels as a copy of the text drawn whole at once.
    QImage whole(part.size(), part.format());
    whole.fill(Qt::white);
    {
        QPainter painter(&whole);
        painter.setPen(Qt::black);
        TextLayout(text, font, 280).draw(painter, rect, TextAlignment::Left);
    }
    EXPECT_EQ(part.copy(band), whole.copy(band));
    EXPECT_EQ(TextLayout::shapeCount() - before - shaped, layout.lineCount()) << "drawn whole, every line shaped";
}

TEST_F(TextTest, WrappedLinesDrawEachGlyphWhereTheLineDrawnAloneShowsIt)
{
    const QFont font = Font::fontWithName(QStringLiteral("Helvetica"), 13);
    struct Case {
        QString text;
        LineBreakMode mode = LineBreakMode::WordWrap;
        // Left to right without emoji: drawn from the line-breaking lay-out.
        bool shapedOnce = true;
    };
    const QList<Case> cases = {
        {QStringLiteral("AVATAR Toward WAVY Type, office affluence: fi ffl. Yes, \"quoted\" (parens) [x] {y} "
                        "1,234.56 - and the end of a paragraph.\n   Indented after a break\tand a tab\t(two).")},
        {QStringLiteral("Averyveryverylongwordthatcannotfitonanylineatallandbreaksinside and then words again"),
         LineBreakMode::CharacterWrap},
        {QStringLiteral("Averyveryverylongwordthatcannotfitonanylineatallandbreaksinside then words")},
        {QStringLiteral("Gr\u00fc\u00dfe aus K\u00f6ln, \u00e7a va, na\u00efve caf\u00e9 \u4e2d\u6587\u5b57\u7b26 "
                        "\u65e5\u672c\u8a9e\u306e\u6587\u7ae0 end.")},
        {QStringLiteral("English first, \u0645\u0631\u062d\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645 "
                        "(\u0661\u0662\u0663) then English again, to the end."),
         LineBreakMode::WordWrap, false},
        {QStringLiteral("\u0645\u0631\u062d\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645! Hello, world. "
                        "\u0634\u0643\u0631\u0627 \u062c\u0632\u064a\u0644\u0627."),
         LineBreakMode::WordWrap, false},
        {QStringLiteral("Thumbs \U0001F44D up and a heart \u2764\uFE0F here, then words to wrap the line."),
         LineBreakMode::WordWrap, false},
    };
    for (const Case& c : cases) {
        const TextLayout layout(c.text, font, 150, 0, 0, c.mode);
        ASSERT_GE(layout.lineCount(), 2) << qPrintable(c.text);
        const QRectF rect(3.3, 2, 150, layout.height());
        const QSize size(160, int(layout.height()) + 6);
        QImage drawn(size, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::white);
        const qint64 before = TextLayout::shapeCount();
        {
            QPainter painter(&drawn);
            painter.setPen(Qt::black);
            layout.draw(painter, rect, TextAlignment::Left);
        }
        if (c.shapedOnce)
            EXPECT_EQ(TextLayout::shapeCount(), before) << "no line shaped again: " << qPrintable(c.text);
        else
            EXPECT_EQ(TextLayout::shapeCount() - before, layout.lineCount()) << qPrintable(c.text);
        // Each line drawn alone, at the baseline the lay-out gives it.
        QImage alone(size, QImage::Format_ARGB32_Premultiplied);
        alone.fill(Qt::white);
        {
            QPainter painter(&alone);
            painter.setPen(Qt::black);
            const qreal ascent = QFontMetricsF(font).ascent();
            for (int i = 0; i < layout.lineCount(); ++i) {
                const QPointF baseline(int(rect.left() * 64) / 64.0, rect.top() + i * layout.lineHeight() + ascent);
                EmojiText::draw(painter, baseline, layout.lines().at(i).text, font);
            }
        }
        EXPECT_EQ(drawn, alone) << qPrintable(c.text);
        EXPECT_GT(bands(inkRows(drawn)), 1) << qPrintable(c.text);
    }
}

TEST_F(TextTest, EmojiBreakLinesWhereTheColourFontLaysThemOutWithoutItBeingAsked)
{
    const QFont font = Font::fontWithName(QStringLiteral("Helvetica"), 13);
    const QList<QString> texts = {
        QStringLiteral("Thumbs \U0001F44D up and a heart \u2764\uFE0F here, then words to wrap the line."),
        QStringLiteral("\U0001F600\U0001F601\U0001F602\U0001F923\U0001F60A\U0001F607\U0001F642\U0001F643\U0001F609"
                       "\U0001F60C\U0001F60D\U0001F970\U0001F618 a row of faces without a space"),
        QStringLiteral("Keycaps 1\uFE0F\u20E3 2\uFE0F\u20E3, flags \U0001F1EB\U0001F1F7\U0001F1EF\U0001F1F5, "
                       "a family \U0001F468\u200D\U0001F469\u200D\U0001F467 and a wave \U0001F44B\U0001F3FD, "
                       "\u2615coffee\u231A\u2B50star"),
        QStringLiteral("\u4e2d\u6587\U0001F600\u5b57\u7b26 \u0645\u0631\u062d\u0628\u0627\U0001F44D "
                       "\u0628\u0627\u0644\u0639\u0627\u0644\u0645 (\U0001F680) \"\U0001F525\" end\U0001F389."),
        QStringLiteral("Averyverylongword\U0001F600withanemojiinsidethatcannotfitonanyline\U0001F44Dandbreaks"),
    };
    // What the lines were before the stand-ins: a layout with the emoji in
    // the colour font, broken at each width.
    const auto startsInColour = [&](const QString& text, qreal width) {
        QTextLayout layout(text, font);
        layout.setFormats(EmojiText::formats(text, font));
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        QList<int> starts;
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            starts.append(line.textStart());
        }
        layout.endLayout();
        return starts;
    };
    for (const QString& text : texts) {
        for (qreal width = 24; width <= 320; width += 2.25) {
            const TextLayout layout(text, font, width);
            QList<int> starts;
            for (const TextLayout::Line& line : layout.lines())
                starts.append(line.start);
            ASSERT_EQ(starts, startsInColour(text, width)) << qPrintable(text) << " at " << width;
        }
    }
    // The stand-ins are in use: a plain emoji and one with its selector stand
    // in as one character; a flag, a joined family and a skin tone keep theirs.
    const auto standInLength = [&](const QString& text) {
        return EmojiText::forLineBreaking(text, font).text.size();
    };
    EXPECT_EQ(standInLength(QStringLiteral("a\U0001F44D\u2764\uFE0Fb")), 5);
    EXPECT_EQ(standInLength(QStringLiteral("\U0001F1EB\U0001F1F7")), 4);
    EXPECT_EQ(standInLength(QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467")), 8);
    EXPECT_EQ(standInLength(QStringLiteral("\U0001F44B\U0001F3FD")), 4);
}

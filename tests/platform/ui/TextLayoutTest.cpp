#include "UiTestSupport.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/StringDrawing.h"
#include "platform/ui/TextLayout.h"

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

#include "AppTest.h"
#include "Answers.h"

#include "forum/cells/PostTextView.h"
#include "forum/cells/SearchPostCell.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextLayout.h"

#include <QFontMetricsF>
#include <QSet>

// The row of a post found by a search in a thread: the term marked in orange
// under each place its texts show it.
namespace {

PostPtr post(const char* answer)
{
    return Model::createWithDictionary<Post>(json(answer));
}

// Every text view of the row, depth first.
void textViewsOf(View* view, QList<PostTextView*>& found)
{
    for (View* child : view->subviews()) {
        if (auto* text = qobject_cast<PostTextView*>(child))
            found.append(text);
        else
            textViewsOf(child, found);
    }
}

// A mark's frame in the coordinates of the view it marks.
QRectF markIn(const View* mark, const View* text)
{
    return mark->frame().translated(-text->frame().topLeft());
}

class SearchPostCellTest : public AppTest {};

}  // namespace

TEST_F(SearchPostCellTest, EveryPlaceOfTheTermIsMarkedUnderItsTextAndNothingElse)
{
    const PostPtr found = post(R"({"post":{"postid":5,"username":"Harbour Master","posttime":0,
        "message_bbcode":"The HARBOUR at dawn; the harbour at dusk.\n[QUOTE=anna;1]Which harbour?[/QUOTE]",
        "show":{"moderated":false}}})");
    SearchPostCell cell;
    cell.setForce(true);
    cell.setHighlight(QStringLiteral("harbour"));
    cell.setPost(found);
    const QList<View*> marks = cell.highlightBoxes();
    // Twice in the text, once in the quote, once in the author's name.
    ASSERT_EQ(marks.size(), 4);
    for (View* mark : marks) {
        EXPECT_EQ(mark->backgroundColor(), SearchPostCell::kMarkColor);
        EXPECT_FALSE(mark->isUserInteractionEnabled());
        // Under the text it marks: before it among its siblings.
        View* parent = mark->superview();
        ASSERT_NE(parent, nullptr);
        const QList<View*> siblings = parent->subviews();
        bool textAfter = false;
        for (qsizetype i = siblings.indexOf(mark) + 1; i < siblings.size(); ++i)
            textAfter = textAfter || qobject_cast<PostTextView*>(siblings[i]) || qobject_cast<Label*>(siblings[i]);
        EXPECT_TRUE(textAfter);
    }

    // The marks of the first text sit where its lines draw the words.
    QList<PostTextView*> texts;
    textViewsOf(cell.message(), texts);
    ASSERT_GE(texts.size(), 2);
    PostTextView* first = texts.first();
    const QString shown = first->text();
    const QFontMetricsF metrics(first->font());
    QList<QRectF> inFirst;
    for (View* mark : marks) {
        if (mark->superview() == first->superview() && first->frame().intersects(mark->frame()))
            inFirst.append(markIn(mark, first));
    }
    ASSERT_EQ(inFirst.size(), 2);
    std::sort(inFirst.begin(), inFirst.end(), [](const QRectF& a, const QRectF& b) { return a.x() < b.x(); });
    EXPECT_NEAR(inFirst[0].x(), metrics.horizontalAdvance(shown.left(shown.indexOf(QStringLiteral("HARBOUR")))), 0.5);
    EXPECT_NEAR(inFirst[0].width(), metrics.horizontalAdvance(QStringLiteral("HARBOUR")), 0.5);
    EXPECT_EQ(inFirst[0].y(), 0);
    EXPECT_EQ(inFirst[0].height(), first->currentLayout().lineHeight());

    // Filled again with another post, the old marks go first.
    const PostPtr other = post(R"({"post":{"postid":6,"username":"anna","posttime":0,
        "message_bbcode":"Lighthouse only.","show":{"moderated":false}}})");
    cell.setPost(other);
    EXPECT_TRUE(cell.highlightBoxes().isEmpty());
    cell.setPost(found);
    EXPECT_EQ(cell.highlightBoxes().size(), 4);
    cell.prepareForReuse();
    EXPECT_TRUE(cell.highlightBoxes().isEmpty());
}

TEST_F(SearchPostCellTest, AWrappedPlaceIsMarkedOnEachLineAndEmptyTermsTextsAndWidthsMarkNothing)
{
    SearchPostCell cell;
    auto* holder = new View(QRectF(0, 0, 200, 200));
    cell.contentView()->addSubview(holder);
    auto* label = new Label(QRectF(10, 10, 120, 100));
    label->setFont(Font::fontWithName(QStringLiteral("Helvetica"), 13));
    label->setNumberOfLines(0);
    label->setLineBreakMode(LineBreakMode::CharacterWrap);
    label->setBackgroundColor(Qt::transparent);
    label->setText(QStringLiteral("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"));
    holder->addSubview(label);
    const TextLayout layout = label->currentLayout();
    ASSERT_GE(layout.lineCount(), 2);
    // The term runs over the first line's end.
    const int end = layout.lines()[0].shownLength;
    cell.setHighlight(label->text().mid(end - 2, 4));
    cell.highlightSubviews(holder);
    const QList<View*> marks = cell.highlightBoxes();
    ASSERT_FALSE(marks.isEmpty());
    QSet<qreal> rowsMarked;
    for (View* mark : marks)
        rowsMarked.insert(mark->frame().y());
    EXPECT_GE(rowsMarked.size(), 2);

    // No term, no text, no width: no marks, and no endless search.
    SearchPostCell empty;
    auto* plain = new Label(QRectF(0, 0, 100, 20));
    plain->setText(QStringLiteral("harbour"));
    empty.contentView()->addSubview(plain);
    empty.setHighlight(QString());
    empty.highlightSubviews(empty.contentView());
    EXPECT_TRUE(empty.highlightBoxes().isEmpty());
    empty.setHighlight(QStringLiteral("harbour"));
    plain->setFrame(QRectF(0, 0, 0, 20));
    empty.highlightSubviews(empty.contentView());
    EXPECT_TRUE(empty.highlightBoxes().isEmpty());
    plain->setFrame(QRectF(0, 0, 100, 20));
    plain->setText(QString());
    empty.highlightSubviews(empty.contentView());
    EXPECT_TRUE(empty.highlightBoxes().isEmpty());
    // A term found nowhere leaves the row as it was.
    plain->setText(QStringLiteral("lighthouse"));
    const int before = int(empty.contentView()->subviews().size());
    empty.highlightSubviews(empty.contentView());
    EXPECT_TRUE(empty.highlightBoxes().isEmpty());
    EXPECT_EQ(empty.contentView()->subviews().size(), before);
    // Both places a line shows; none where its ellipsis cut the text.
    plain->setText(QStringLiteral("Ünïcode HARBOUR, harbour"));
    plain->setFrame(QRectF(0, 0, 300, 20));
    empty.highlightSubviews(empty.contentView());
    EXPECT_EQ(empty.highlightBoxes().size(), 2);
    SearchPostCell cut;
    auto* narrow = new Label(QRectF(0, 0, 100, 20));
    narrow->setText(QStringLiteral("Ünïcode HARBOUR, harbour"));
    cut.contentView()->addSubview(narrow);
    cut.setHighlight(QStringLiteral("harbour"));
    cut.highlightSubviews(cut.contentView());
    EXPECT_EQ(cut.highlightBoxes().size(), 1);
}

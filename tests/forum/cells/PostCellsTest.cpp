#include "AppTest.h"
#include "Answers.h"

#include "forum/cells/AttachmentLineItem.h"
#include "forum/cells/ImageAttachmentLinkView.h"
#include "forum/cells/ModeratedAttachmentView.h"
#include "forum/cells/OtherAttachmentView.h"
#include "forum/cells/PostBodyText.h"
#include "forum/cells/PostCell.h"
#include "forum/cells/PostCellIgnoreGlobal.h"
#include "forum/cells/PostCellUserIgnore.h"
#include "forum/cells/PostQuoteDrawing.h"
#include "forum/cells/PostTextView.h"
#include "forum/cells/ThumbnailAttachmentView.h"
#include "forum/cells/ThumbnailAttachmentViewItem.h"

#include "app/config/Customizer.h"
#include "app/widgets/RoundedRectView.h"

#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/ControlEvents.h"
#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/StringDrawing.h"

#include <algorithm>
#include <memory>

// The post row and its parts, built from answers as the forum sends them.
namespace {

QFont body()
{
    return Font::fontWithName(QStringLiteral("Helvetica"), 13);
}

qreal textHeight(const QString& text, qreal width)
{
    return StringDrawing::sizeWithFont(text, body(), QSizeF(width, 9999), LineBreakMode::TailTruncation).height();
}

AttachmentList files(int count, const QString& size = QStringLiteral("12"))
{
    AttachmentList list;
    for (int i = 0; i < count; ++i) {
        auto attachment = std::make_shared<Attachment>();
        attachment->setFilename(QStringLiteral("file%1.zip").arg(i));
        attachment->setFilesize(size);
        list.append(attachment);
    }
    return list;
}

PostPtr post(const char* answer)
{
    return Model::createWithDictionary<Post>(json(answer));
}

template <typename T>
QList<T*> subviewsOf(View* view)
{
    QList<T*> found;
    for (View* child : view->subviews()) {
        if (auto* typed = qobject_cast<T*>(child))
            found.append(typed);
    }
    return found;
}

class PostCellsTest : public AppTest {};

}  // namespace

TEST_F(PostCellsTest, QuoteTreesAreMeasuredAsTheyAreDrawn)
{
    // A root with one text and no author: as high as the text.
    const PostQuotePtr plain = PostQuote::initWithAuthor(QString(), QStringLiteral("hello there"));
    const qreal h = textHeight(QStringLiteral("hello there"), 300 - 20);
    EXPECT_EQ(PostQuoteDrawing::sizeWithFont(*plain, body(), QSizeF(300, 9999), LineBreakMode::TailTruncation),
              QSizeF(300, h));

    // A quoted block: a rounded box 10 in, 4 below the text before it, in the
    // theme's colours; its text carries the author's line, clear of the box's
    // top edge, and the text after it stands clear of its bottom edge.
    const PostQuotePtr quoted = PostQuote::initWithAuthor(QString(), QStringLiteral("[QUOTE=u1;12]hi[/QUOTE] ok"));
    std::unique_ptr<View> root(PostQuoteDrawing::createViewInSize(*quoted, QSizeF(300, 9999), body()));
    const QList<RoundedRectView*> boxes = subviewsOf<RoundedRectView>(root.get());
    ASSERT_EQ(boxes.size(), 1);
    RoundedRectView* box = boxes.first();
    EXPECT_EQ(box->frame().topLeft(), QPointF(10, 4));
    EXPECT_EQ(box->frame().width(), 280);
    EXPECT_EQ(box->cornerRadius(), 8.0);
    EXPECT_EQ(box->strokeColor(), Customizer::getInstance().colorForKey(kColorTextPrimary));
    EXPECT_EQ(box->rectColor(), Customizer::getInstance().colorForKey(kColorBackgroundQuote));
    const QList<PostTextView*> inner = subviewsOf<PostTextView>(box);
    ASSERT_EQ(inner.size(), 1);
    EXPECT_EQ(inner.first()->text(), QStringLiteral("u1:\nhi"));
    EXPECT_EQ(inner.first()->frame(), QRectF(10, 4, 260, textHeight(QStringLiteral("u1:\nhi"), 260)));
    EXPECT_EQ(box->frame().height(), inner.first()->frame().bottom() + 3.0);
    const QList<PostTextView*> outer = subviewsOf<PostTextView>(root.get());
    ASSERT_EQ(outer.size(), 1) << "the empty text before the block is skipped";
    EXPECT_EQ(outer.first()->text(), QStringLiteral("ok"));
    EXPECT_EQ(outer.first()->frame().y(), box->frame().bottom() + 4.0);
    EXPECT_EQ(root->frame(), QRectF(0, 0, 300, outer.first()->frame().bottom()));
    EXPECT_EQ(PostQuoteDrawing::sizeWithFont(*quoted, body(), QSizeF(300, 9999), LineBreakMode::TailTruncation),
              root->frame().size());

    // Three deep with authors, blocks without an author, without a closing
    // tag, or holding nothing but another block: the measure is the drawing's
    // height, so no row clips its text or leaves room empty under it.
    for (const char* text :
         {"[QUOTE=carol;5002][QUOTE=bob;5001][QUOTE=alice;5000]Pull down to refresh any list.[/QUOTE]This one "
          "saved me so much time.[/QUOTE]Same here![/QUOTE]\nQuotes in quotes in quotes - the thread is getting "
          "deep. ;)",
          "[QUOTE]a[/QUOTE]", "[QUOTE][QUOTE]a[/QUOTE][/QUOTE]", "[QUOTE][QUOTE=b;1]a[/QUOTE]b",
          "x[QUOTE][QUOTE]a[/QUOTE]b[/QUOTE]", "<<a>> b", "[quote]a[quote=c;2]b[/quote]"}) {
        const PostQuotePtr tree = PostQuote::initWithAuthor(QString(), QString::fromUtf8(text));
        std::unique_ptr<View> view(PostQuoteDrawing::createViewInSize(*tree, QSizeF(300, 9999), body()));
        EXPECT_EQ(PostQuoteDrawing::sizeWithFont(*tree, body(), QSizeF(300, 9999), LineBreakMode::TailTruncation)
                      .height(),
                  view->frame().height())
            << text;
    }
}

TEST_F(PostCellsTest, QuoteBoxesStandOnTheRowUnlessItShowsTheSelection)
{
    PostCell row;
    PostCell* cell = &row;
    cell->setPost(post(R"({"postid":"7","username":"dave","userid":"3",
        "message_bbcode":"[QUOTE=carol;5002][QUOTE=bob;5001]Deep.[/QUOTE]Same here![/QUOTE] ok"})"));
    QList<RoundedRectView*> boxes = cell->message()->findChildren<RoundedRectView*>();
    std::sort(boxes.begin(), boxes.end(), [cell](RoundedRectView* a, RoundedRectView* b) {
        return a->mapTo(cell, QPoint(0, 0)).x() < b->mapTo(cell, QPoint(0, 0)).x();
    });
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(boxes.at(0)->backdropColor(), QColor(Qt::white));
    EXPECT_EQ(boxes.at(1)->backdropColor(), boxes.at(0)->rectColor()) << "within the outer box's fill";
    // Each state looks as the boxes drawn straight over what is beneath.
    const auto drawnStraight = [&](qreal zoom) {
        QList<QColor> kept;
        for (RoundedRectView* box : boxes) {
            kept.append(box->backdropColor());
            box->setBackdropColor(QColor());
        }
        const QImage image = Screenshot::render(cell, zoom);
        for (int i = 0; i < boxes.size(); ++i)
            boxes.at(i)->setBackdropColor(kept.at(i));
        return image;
    };
    for (const qreal zoom : {1.0, 2.0})
        EXPECT_EQ(Screenshot::render(cell, zoom), drawnStraight(zoom)) << zoom;
    cell->setHighlighted(true);
    EXPECT_FALSE(boxes.at(0)->backdropColor().isValid()) << "the selection's gradient is not one colour";
    EXPECT_EQ(boxes.at(1)->backdropColor(), boxes.at(0)->rectColor());
    for (const qreal zoom : {1.0, 2.0})
        EXPECT_EQ(Screenshot::render(cell, zoom), drawnStraight(zoom)) << "lit, at " << zoom;
    cell->setHighlighted(false);
    EXPECT_EQ(boxes.at(0)->backdropColor(), QColor(Qt::white));
}

TEST_F(PostCellsTest, APostTextDrawnAPartAtATimeShowsWhatItShowsDrawnWhole)
{
    // Only the lines that reach into the part being drawn are drawn: every
    // band of the text, lines cut through the middle, accents above and
    // letters below the line and an emoji taller than the letters included,
    // shows the pixels of the whole text drawn at once.
    PostTextView text(QRectF(0, 0, 280, 0));
    text.setText(QStringLiteral("Ångström's fjord, gypsy quays \U0001F600 and jumpy glyphs\nÉÀÜ qpgjy ÇĞ "
                                "\U0001F389 over several wrapped lines of text, long enough to wrap four or five "
                                "times at this width.\nLast line: ÅÊÎ gjpqy."));
    text.sizeToFitCurrentWidth();
    ASSERT_GT(text.frame().height(), 80);
    const QSize size = text.size();
    QImage whole(size, QImage::Format_RGB32);
    whole.fill(Qt::white);
    text.render(&whole);
    for (int top = 0; top < size.height(); top += 5) {
        const QRect band(0, top, size.width(), 4);
        QImage part(size, QImage::Format_RGB32);
        part.fill(Qt::white);
        // A region is drawn at the target offset from its own top left.
        text.render(&part, band.topLeft(), QRegion(band));
        int differing = 0;
        for (int y = qMax(0, band.top()); y <= qMin(size.height() - 1, band.bottom()); ++y) {
            for (int x = 0; x < size.width(); ++x)
                differing += part.pixel(x, y) != whole.pixel(x, y);
        }
        EXPECT_EQ(differing, 0) << "the band from " << top;
    }
}

TEST_F(PostCellsTest, BodyTextShowsFormattingAsText)
{
    EXPECT_EQ(PostBodyText::displayText(QStringLiteral("a [b]bold[/b] and [color=#c0392b]red[/color] [url=http://x.org]"
                                                       "link[/url] [img]images/a.png[/img]")),
              QStringLiteral("a bold and red link [picture]"));
    EXPECT_EQ(PostBodyText::displayText(QStringLiteral("Tips:\n[list][*]One[*]Two[/list]")),
              QStringLiteral("Tips:\n\u2022 One\n\u2022 Two\n"));
    EXPECT_EQ(PostBodyText::displayText(QStringLiteral("[unknown]stays[/unknown] :)")),
              QStringLiteral("[unknown]stays[/unknown] :)"));
}

TEST_F(PostCellsTest, AttachmentStripsReserveAndDrawTheirLines)
{
    EXPECT_EQ(ModeratedAttachmentView::heightForAttachments(files(1)), 42);
    EXPECT_EQ(ModeratedAttachmentView::heightForAttachments(files(3)), 82);
    EXPECT_EQ(OtherAttachmentView::heightForAttachments({}), 0);
    EXPECT_EQ(ThumbnailAttachmentView::heightForAttachments(files(4)), 162);
    EXPECT_EQ(ThumbnailAttachmentView::heightForAttachments(files(7)), 238);
    EXPECT_EQ(ThumbnailAttachmentView::heightForAttachments({}), 0);

    OtherAttachmentView other;
    other.setAttachments(files(3));
    ASSERT_EQ(other.items().size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(other.items().at(i)->frame().y(), 20.0 * i);
    AttachmentLineItem* line = other.items().first();
    EXPECT_EQ(line->filename()->currentTitle(), QStringLiteral("file0.zip"));
    EXPECT_EQ(line->info()->text(), QStringLiteral("(12KB)"));
    EXPECT_EQ(line->info()->frame().x(), line->filename()->frame().right() + 4.0);
    EXPECT_EQ(line->info()->frame().right(), line->frame().width());
    EXPECT_EQ(other.contentView()->frame().height(), 60);
    EXPECT_EQ(other.bg()->frame().height(), other.contentView()->frame().y() + 60);
    EXPECT_EQ(other.frame().size(), other.bg()->frame().size() + QSizeF(2, 2));
    EXPECT_EQ(other.frame().height(), OtherAttachmentView::heightForAttachments(files(3)));

    // Filling again replaces the lines; a file without size shows its name only.
    other.setAttachments(files(1, QString()));
    ASSERT_EQ(other.items().size(), 1);
    EXPECT_EQ(other.items().first()->info()->text(), QString());

    ImageAttachmentLinkView links;
    links.setAttachments(files(1));
    EXPECT_EQ(links.items().first()->info()->text(), QStringLiteral("(12)"));
    ModeratedAttachmentView moderated;
    moderated.setAttachments(files(1));
    EXPECT_EQ(moderated.items().first()->info()->text(), QStringLiteral("(12KB)"));
}

TEST_F(PostCellsTest, ThumbnailsStandThreeARowByIndex)
{
    ThumbnailAttachmentView grid;
    // A width whose third does not add back up to it.
    grid.setFrame(QRectF(0, 0, 100, grid.frame().height()));
    grid.setAttachments(files(7));
    const QList<ThumbnailAttachmentViewItem*> items = grid.items();
    ASSERT_EQ(items.size(), 7);
    const qreal step = 100.0 / 3;
    const qreal row = ThumbnailAttachmentViewItem::kHeight + 7.0;
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(items.at(i)->frame().topLeft(), QPointF((i % 3) * step, (i / 3) * row)) << "picture " << i;
    }
    EXPECT_EQ(grid.contentView()->frame().height(), 2 * row + 69.0) << "down to the last row's bottom";
    EXPECT_EQ(grid.bg()->frame().height(), grid.contentView()->frame().y() + 2 * row + 7.0 + 69.0);
    EXPECT_EQ(grid.frame().size(), grid.bg()->frame().size() + QSizeF(2, 2));

    ThumbnailAttachmentView full;
    full.setAttachments(files(4));
    EXPECT_EQ(full.frame().height(), ThumbnailAttachmentView::heightForAttachments(files(4)));
    EXPECT_EQ(grid.frame().height(), ThumbnailAttachmentView::heightForAttachments(files(7)));
    EXPECT_LE(full.items().last()->frame().right() + full.contentView()->frame().x(), full.bg()->frame().width());
}

TEST_F(PostCellsTest, ATappedThumbnailOpensItsAddressWithTheAmpersandsRead)
{
    QList<QUrl> opened;
    Application::sharedApplication().setOpenURLHandler([&opened](const QUrl& url) {
        opened.append(url);
        return true;
    });
    // Forums write "&" in addresses as "&amp;".
    const AttachmentPtr picture = Model::createWithDictionary<Attachment>(
        json(R"({"attachmentid":3,"url":"attachment.php?attachmentid=3&amp;d=1700000000",)"
             R"("pictureurl":"attachment.php?attachmentid=3&amp;thumb=1"})"));
    ThumbnailAttachmentViewItem item;
    item.setAttachment(picture);
    item.touchesEnded(item.bounds().center());
    // A file's name opens its file the same way.
    OtherAttachmentView strip;
    strip.setAttachments({Model::createWithDictionary<Attachment>(
        json(R"({"attachmentid":4,"filename":"notes.pdf","url":"attachment.php?attachmentid=4&amp;d=1"})"))});
    strip.items().first()->filename()->sendActionsForControlEvents(ControlEvent::TouchUpInside);
    Application::sharedApplication().setOpenURLHandler({});
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened.first().query(), QStringLiteral("attachmentid=3&d=1700000000"));
    EXPECT_TRUE(opened.first().path().endsWith(QStringLiteral("/attachment.php")));
    EXPECT_EQ(opened.last().query(), QStringLiteral("attachmentid=4&d=1"));
}

TEST_F(PostCellsTest, APostRowHasItsHeaderBodyAndStripsInOrder)
{
    const PostPtr bare = post(R"({"post":{"postid":1,"username":"anna"}})");
    EXPECT_EQ(PostCell::heightForPost(*bare), 52.0);

    const PostPtr full = post(R"({"post":{"postid":2,"username":"bob","userid":2,"posttime":0,
        "message_bbcode":"[QUOTE=anna;1]first[/QUOTE]second",
        "moderatedattachments":[{"filename":"wait.zip","filesize":"3","attachmentid":7}],
        "thumbnailattachments":[{"filename":"a.jpg","url":"attachment.php?attachmentid=8","attachmentid":8}],
        "show":{"moderated":false}}})");
    const qreal quote = PostQuoteDrawing::sizeWithFont(*full->message_postquote(), body(), QSizeF(300, 9999),
                                                       LineBreakMode::TailTruncation)
                            .height();
    EXPECT_EQ(PostCell::heightForPost(*full), quote + 52.0 + (5.0 + 42.0) + (5.0 + 86.0));

    PostCell cell;
    cell.setForce(true);
    cell.setPost(full);
    EXPECT_EQ(cell.title()->text(), QStringLiteral("bob"));
    EXPECT_TRUE(cell.icons().isEmpty());
    const QList<View*> parts = cell.message()->subviews();
    ASSERT_EQ(parts.size(), 3) << "the text, the moderated strip, the thumbnails";
    auto* moderatedStrip = qobject_cast<ModeratedAttachmentView*>(parts.at(1));
    auto* thumbnailStrip = qobject_cast<ThumbnailAttachmentView*>(parts.at(2));
    ASSERT_TRUE(moderatedStrip && thumbnailStrip);
    EXPECT_EQ(moderatedStrip->frame().y(), parts.at(0)->frame().bottom() + 5.0);
    EXPECT_EQ(moderatedStrip->frame().x(), 300.0 + 8.0 - moderatedStrip->frame().width());
    EXPECT_EQ(thumbnailStrip->frame().y(), moderatedStrip->frame().bottom() + 5.0);
    EXPECT_EQ(thumbnailStrip->frame().x(), 300.0 + 10.0 - thumbnailStrip->frame().width());
    EXPECT_EQ(cell.message()->frame().bottom(), thumbnailStrip->frame().bottom() + cell.message()->frame().y());
    EXPECT_EQ(cell.message()->frame().bottom() + 8.0, PostCell::heightForPost(*full))
        << "everything drawn fits the row, 8 points above its end";
    EXPECT_EQ(cell.headerColor(), Customizer::getInstance().colorForKey(kColorBackgroundQuote));
    EXPECT_EQ(cell.date()->textColor(), Customizer::getInstance().colorForKey(kColorTextPrimary));

    // A post waiting for approval shows the mark where the title stood; a
    // reused row showing an approved post has none left.
    const qreal titleX = cell.titleX();
    ASSERT_GE(titleX, 0);
    const PostPtr waiting = post(R"({"post":{"postid":3,"username":"erin","show":{"moderated":true}}})");
    cell.setPost(waiting);
    ASSERT_EQ(cell.icons().size(), 1);
    ImageView* icon = cell.icons().first();
    EXPECT_EQ(icon->frame().x(), titleX);
    EXPECT_EQ(icon->frame().bottom(), cell.title()->frame().bottom());
    EXPECT_EQ(cell.title()->frame().x(), titleX + icon->frame().width() + 5.0);
    cell.setPost(full);
    EXPECT_TRUE(cell.icons().isEmpty());
    EXPECT_EQ(cell.title()->frame().x(), titleX);
}

TEST_F(PostCellsTest, DeletedAndIgnoredPostsShowTheirNotices)
{
    PostCell cell;
    cell.setPost(post(R"({"post":{"postid":4,"username":"bob","message_bbcode":"gone"},"postbit_type":"postbit_deleted"})"));
    QList<Label*> labels = subviewsOf<Label>(cell.message());
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.first()->text(), QStringLiteral("This message has been deleted."));
    cell.setPost(post(R"({"post":{"postid":5,"username":"bob","del_username":"moderator"},"postbit_type":"postbit_deleted"})"));
    labels = subviewsOf<Label>(cell.message());
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.first()->text(), QStringLiteral("This message has been deleted by moderator."));

    // An ignored author's text is drawn only when the row is forced.
    const PostPtr ignored = post(R"({"post":{"postid":6,"username":"frank","message_bbcode":"hello"},"postbit_type":"postbit_ignore"})");
    cell.setForce(false);
    cell.setPost(ignored);
    EXPECT_TRUE(cell.message()->subviews().isEmpty());
    cell.setForce(true);
    cell.setPost(ignored);
    EXPECT_EQ(cell.message()->subviews().size(), 1);

    PostCellUserIgnore userRow;
    userRow.setForce(true);
    userRow.setPost(ignored);
    EXPECT_FALSE(userRow.force());
    EXPECT_TRUE(userRow.message()->subviews().isEmpty());
    EXPECT_EQ(userRow.ignoreDisclaimer()->text(), QStringLiteral("frank is on your ignore list."));
    PostCellIgnoreGlobal globalRow;
    globalRow.setPost(post(R"({"post":{"postid":7,"username":"spambot"},"postbit_type":"postbit_ignore_global"})"));
    EXPECT_EQ(globalRow.ignoreDisclaimer()->text(), QStringLiteral("The forum hides the posts of spambot."));
}

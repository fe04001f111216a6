#include "forum/cells/PostCell.h"

#include "forum/cells/ImageAttachmentLinkView.h"
#include "forum/cells/ModeratedAttachmentView.h"
#include "forum/cells/OtherAttachmentView.h"
#include "forum/cells/PostQuoteDrawing.h"
#include "forum/cells/ThumbnailAttachmentView.h"

#include "app/config/Customizer.h"
#include "app/navigation/ScreenInputs.h"
#include "app/text/Formatter.h"

#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/TextLayout.h"
#include "platform/ui/ViewControllerRegistry.h"

#include "platform/foundation/Localized.h"
#include "platform/foundation/TextFormat.h"

#include <QPainter>

namespace {

constexpr qreal kCellWidth = 320.0;
constexpr qreal kHeaderHeight = 36.0;
// The row keeps 52 points besides its body: the header and 8 points under
// it, and 8 points under the body; the text stands midway.
constexpr qreal kBodyTop = 44.0;
constexpr qreal kBodyBottom = PostCell::kChrome - kBodyTop;

QFont bodyFont()
{
    return Font::fontWithName(QStringLiteral("Helvetica"), 13);
}

// The title's place in each class's layout, taken from its first filled row.
qreal& postCellTitleX()
{
    static qreal x = -1.0;
    return x;
}

}  // namespace

PostCell::PostCell() : TableViewCell(TableViewCellStyle::Default)
{
    buildLayout(false);
}

PostCell::PostCell(bool collapsed) : TableViewCell(TableViewCellStyle::Default)
{
    buildLayout(collapsed);
}

PostCell::~PostCell() = default;

void PostCell::buildLayout(bool collapsed)
{
    setFrame(QRectF(0, 0, kCellWidth, collapsed ? 90.0 : 120.0));
    setBackgroundColor(Qt::white);
    View* content = contentView();
    m_avatar = new ImageView(QRectF(6, 3, 30, 30));
    m_avatar->setContentMode(ContentMode::ScaleAspectFill);
    m_avatar->setClipsToBounds(true);
    content->addSubview(m_avatar);
    m_title = new Label(QRectF(42, 9, 150, 18));
    m_title->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 14));
    m_title->setBackgroundColor(Qt::transparent);
    m_title->setOpaque(false);
    content->addSubview(m_title);
    m_date = new Label(QRectF(192, 10, 122, 16));
    m_date->setFont(Font::fontWithName(QStringLiteral("Helvetica"), 11));
    m_date->setTextAlignment(TextAlignment::Right);
    m_date->setBackgroundColor(Qt::transparent);
    m_date->setOpaque(false);
    content->addSubview(m_date);
    m_headerButton = new Button(QRectF(0, 0, kCellWidth, kHeaderHeight), ButtonType::Custom);
    m_headerButton->setAutoresizingMask(Autoresizing::FlexibleWidth);
    m_headerButton->addTarget(this, &PostCell::viewProfile, ControlEvent::TouchUpInside);
    content->addSubview(m_headerButton);
    m_message = new View(QRectF(5, kBodyTop, kBodyWidth, 0));
    m_message->setBackgroundColor(Qt::transparent);
    m_message->setOpaque(false);
    m_message->setUserInteractionEnabled(!collapsed);
    content->addSubview(m_message);
}

QRectF PostCell::headerRect() const
{
    const QRectF content = contentView()->frame();
    return QRectF(content.topLeft(), QSizeF(content.width(), kHeaderHeight));
}

void PostCell::drawRect(QPainter& painter, const QRectF& rect)
{
    TableViewCell::drawRect(painter, rect);
    if (m_headerColor.isValid())
        painter.fillRect(headerRect(), m_headerColor);
}

qreal PostCell::titleX() const
{
    return postCellTitleX();
}

void PostCell::setTitleX(qreal x)
{
    postCellTitleX() = x;
}

qreal PostCell::heightForPost(const Post& post)
{
    return heightForPost(post, kBodyWidth);
}

namespace {

// What a deleted post shows in place of its text: who deleted it, where the
// forum says.
QString deletedNotice(const Post& post)
{
    const QString by = post.del_username();
    return by.isEmpty() ? localized("message_del")
                        : TextFormat::fill(localized("message_del_by"), {Value(by)});
}

// A strip under the text: its attachments, its height once filled, how it
// is made and filled, and how far left of the others it stands.
struct Strip {
    AttachmentList attachments;
    qreal (*height)(const AttachmentList& attachments);
    View* (*make)(const AttachmentList& attachments);
    qreal shift = 0;
};

template <typename StripView>
View* filledStrip(const AttachmentList& attachments)
{
    auto* strip = new StripView();
    strip->setAttachments(attachments);
    return strip;
}

// The post's strips in the order they stand: awaiting approval, other
// files, pictures, picture links.
QList<Strip> stripsOf(const Post& post)
{
    return {{post.moderatedattachments(), &AttachmentLinesView::heightForAttachments,
             &filledStrip<ModeratedAttachmentView>, PostCell::kModeratedStripShift},
            {post.otherattachments(), &AttachmentLinesView::heightForAttachments, &filledStrip<OtherAttachmentView>},
            {post.thumbnailattachments(), &ThumbnailAttachmentView::heightForAttachments,
             &filledStrip<ThumbnailAttachmentView>},
            {post.imageattachmentlinks(), &AttachmentLinesView::heightForAttachments,
             &filledStrip<ImageAttachmentLinkView>}};
}

}  // namespace

qreal PostCell::heightForPost(const Post& post, qreal width)
{
    return kBodyTop + layOutBody(post, width, nullptr) + kBodyBottom;
}

qreal PostCell::layOutBody(const Post& post, qreal width, View* into, const QColor& backdrop)
{
    // A deleted post shows one line, whatever its text and pictures were.
    if (post.isDeleted()) {
        const QString notice = deletedNotice(post);
        const qreal height = TextLayout(notice, bodyFont(), kMeasureLimit, 1, 0, LineBreakMode::Clip).height();
        if (into) {
            auto* label = new Label(QRectF(PostQuoteDrawing::kInset, 0, width - PostQuoteDrawing::kInset, height));
            label->setFont(bodyFont());
            label->setBackgroundColor(Qt::transparent);
            label->setOpaque(false);
            label->setTextColor(QColor(0x77, 0x77, 0x77));
            label->setText(notice);
            into->addSubview(label);
        }
        return height;
    }
    qreal y = 0;
    if (const PostQuotePtr& quote = post.message_postquote()) {
        if (into) {
            View* body = PostQuoteDrawing::createViewInSize(*quote, QSizeF(width, kMeasureLimit), bodyFont(), backdrop);
            into->addSubview(body);
            y = body->frame().bottom();
        } else {
            y = PostQuoteDrawing::sizeWithFont(*quote, bodyFont(), QSizeF(width, kMeasureLimit),
                                               LineBreakMode::TailTruncation)
                    .height();
        }
    }
    for (const Strip& strip : stripsOf(post)) {
        if (strip.attachments.isEmpty())
            continue;
        y += kStripGap;
        if (into) {
            View* view = strip.make(strip.attachments);
            const QSizeF size = view->frame().size();
            view->setFrame(QRectF(width + 10 - strip.shift - size.width(), y, size.width(), size.height()));
            into->addSubview(view);
            y += size.height();
        } else {
            y += strip.height(strip.attachments);
        }
    }
    return y;
}

void PostCell::dropPost()
{
    m_postObservation.reset();
    m_post.reset();
}

void PostCell::prepareForReuse()
{
    TableViewCell::prepareForReuse();
    dropPost();
}

void PostCell::setPost(const PostPtr& post)
{
    const PostPtr keep = post;
    dropPost();
    m_post = keep;
    m_avatar->setImage(QImage());
    for (View* old : m_message->subviews())
        old->removeFromSuperview();
    if (!m_post)
        return;
    const Post& p = *m_post;
    m_title->setText(p.user() ? p.user()->username() : QString());
    m_date->setText(Formatter::defaultFormatter().cellDateFormatter().stringFromDate(p.date()));
    m_date->setTextColor(Customizer::getInstance().colorForKey(kColorTextPrimary));
    fillBody(p);
    if (titleX() < 0)
        setTitleX(m_title->frame().x());
    placeIcons(p);
    m_avatar->setImage(p.pic().qimage());
    m_avatar->setHidden(p.pic().isNull());
    const QColor header = Customizer::getInstance().colorForKey(kColorBackgroundQuote);
    if (header != m_headerColor) {
        m_headerColor = header;
        update();
    }
    m_headerButton->setUserInteractionEnabled(p.user() && p.user()->userid() >= 1
                                              && ScreenInputs::canCreate(kProfileScreen));
}

void PostCell::viewProfile()
{
    auto* screen = dynamic_cast<ViewController*>(m_controller.get());
    NavigationController* navigation = screen ? screen->navigationController() : nullptr;
    const FriendPtr author = m_post ? m_post->user() : nullptr;
    if (!navigation || !author || author->userid() < 1)
        return;
    if (const ViewControllerPtr profile = ViewControllerRegistry::create(kProfileScreen)) {
        navigation->pushViewController(profile, true);
        ScreenInputs::give(*profile, kProfileScreen, author);
    }
}

void PostCell::fillBody(const Post& p)
{
    const bool shown = !p.isDeleted() && (m_force || (!p.userIgnore() && !p.ignoreGlobal()));
    if (shown) {
        m_postObservation.observe(m_post, this);
        m_post->loadImages();
    }
    const QRectF f = m_message->frame();
    const qreal height = p.isDeleted() || shown ? layOutBody(p, f.width(), m_message, bodyBackdrop()) : 0;
    m_message->setFrame(QRectF(f.x(), f.y(), f.width(), height));
}

QColor PostCell::bodyBackdrop() const
{
    return showsSelection() ? QColor() : backgroundColor();
}

void PostCell::selectionShownDidChange()
{
    const QColor backdrop = bodyBackdrop();
    for (View* part : m_message->subviews())
        PostQuoteDrawing::setBackdropColor(part, backdrop);
}

void PostCell::placeIcons(const Post& p)
{
    for (ImageView* icon : m_icons)
        icon->removeFromSuperview();
    m_icons.clear();
    qreal x = titleX();
    const QRectF title = m_title->frame();
    if (!p.isApproved()) {
        const QImage image = ResourceImages::named(QStringLiteral("moderated.png"));
        const QSizeF size = ResourceImages::pointSize(image);
        auto* icon = new ImageView(QRectF(x, title.bottom() - size.height(), size.width(), size.height()));
        icon->setImage(image);
        contentView()->addSubview(icon);
        m_icons.append(icon);
        x += size.width() + kIconGap;
    }
    m_title->setFrame(QRectF(x, title.y(), title.width(), title.height()));
}

void PostCell::modelHasChanged(Model* model)
{
    if (!m_post || model != m_post.get())
        return;
    m_avatar->setImage(m_post->pic().qimage());
    m_avatar->setHidden(m_post->pic().isNull());
}

#include "forum/cells/PostCell.h"

#include "forum/cells/ImageAttachmentLinkView.h"
#include "forum/cells/ModeratedAttachmentView.h"
#include "forum/cells/OtherAttachmentView.h"
#include "forum/cells/PostQuoteDrawing.h"
#include "forum/cells/ThumbnailAttachmentView.h"

#include "app/config/Customizer.h"
#include "app/screens/ScreenInputs.h"
#include "app/text/Formatter.h"

#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/TextLayout.h"
#include "platform/ui/ViewControllerRegistry.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/TextFormat.h"

namespace {

constexpr qreal kCellWidth = 320.0;
constexpr qreal kHeaderHeight = 36.0;
// The row keeps 52 points besides its text: the header and the room above
// the text, and the room below it; the text stands about midway.
constexpr qreal kBodyTop = 46.0;

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

PostCell::~PostCell()
{
    dropPost();
}

void PostCell::buildLayout(bool collapsed)
{
    setFrame(QRectF(0, 0, kCellWidth, collapsed ? 90.0 : 120.0));
    setBackgroundColor(Qt::white);
    View* content = contentView();
    m_headerBackground = new View(QRectF(0, 0, kCellWidth, kHeaderHeight));
    m_headerBackground->setAutoresizingMask(Autoresizing::FlexibleWidth);
    content->addSubview(m_headerBackground);
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
    m_headerButton = new Button(m_headerBackground->frame(), ButtonType::Custom);
    m_headerButton->setAutoresizingMask(Autoresizing::FlexibleWidth);
    m_headerButton->addTarget(this, &PostCell::viewProfile, ControlEvent::TouchUpInside);
    content->addSubview(m_headerButton);
    m_message = new View(QRectF(5, kBodyTop, kBodyWidth, 0));
    m_message->setBackgroundColor(Qt::transparent);
    m_message->setOpaque(false);
    m_message->setUserInteractionEnabled(!collapsed);
    content->addSubview(m_message);
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
    return by.isEmpty() ? Bundle::main().localizedString(QStringLiteral("message_del"))
                        : TextFormat::fill(Bundle::main().localizedString(QStringLiteral("message_del_by")), {Value(by)});
}

}  // namespace

qreal PostCell::heightForPost(const Post& post, qreal width)
{
    qreal height = kChrome;
    // A deleted post shows one line, whatever its text and pictures were.
    if (post.isDeleted())
        return height + TextLayout(deletedNotice(post), bodyFont(), kMeasureLimit, 1, 0, LineBreakMode::Clip).size().height();
    if (const PostQuotePtr& quote = post.message_postquote()) {
        height += PostQuoteDrawing::sizeWithFont(*quote, bodyFont(), QSizeF(width, kMeasureLimit),
                                                 LineBreakMode::TailTruncation)
                      .height();
    }
    height += AttachmentLinesView::heightForAttachments(post.moderatedattachments());
    height += AttachmentLinesView::heightForAttachments(post.otherattachments());
    height += ThumbnailAttachmentView::heightForAttachments(post.thumbnailattachments());
    height += AttachmentLinesView::heightForAttachments(post.imageattachmentlinks());
    return height;
}

void PostCell::dropPost()
{
    if (m_post && m_observing)
        m_post->removeObserver(this);
    m_observing = false;
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
    m_headerBackground->setBackgroundColor(Customizer::getInstance().colorForKey(kColorBackgroundQuote));
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
    qreal bottom = 0;
    if (p.isDeleted()) {
        auto* label = new Label(QRectF(PostQuoteDrawing::kInset, 0, 0, 0));
        label->setFont(bodyFont());
        label->setBackgroundColor(Qt::transparent);
        label->setOpaque(false);
        label->setTextColor(QColor(0x77, 0x77, 0x77));
        label->setText(deletedNotice(p));
        label->sizeToFit();
        m_message->addSubview(label);
        bottom = label->frame().bottom();
    } else if (m_force || (!p.userIgnore() && !p.ignoreGlobal())) {
        m_post->addObserver(this);
        m_observing = true;
        m_post->loadImages();
        qreal y = 0;
        if (const PostQuotePtr& quote = p.message_postquote()) {
            View* body = PostQuoteDrawing::createViewInSize(*quote, m_message->frame().size(), bodyFont());
            m_message->addSubview(body);
            y = body->frame().y() + body->frame().height();
        }
        const qreal width = m_message->frame().width();
        auto place = [&](View* strip, qreal shift) {
            m_message->addSubview(strip);
            const QSizeF size = strip->frame().size();
            strip->setFrame(QRectF(width + 10 - shift - size.width(), y + kStripGap, size.width(), size.height()));
            y += size.height() + kStripGap;
        };
        if (!p.moderatedattachments().isEmpty()) {
            auto* strip = new ModeratedAttachmentView();
            strip->setAttachments(p.moderatedattachments());
            place(strip, kModeratedStripShift);
        }
        if (!p.otherattachments().isEmpty()) {
            auto* strip = new OtherAttachmentView();
            strip->setAttachments(p.otherattachments());
            place(strip, 0);
        }
        const AttachmentList thumbnails = p.thumbnailattachments();
        if (!thumbnails.isEmpty()) {
            auto* strip = new ThumbnailAttachmentView();
            strip->setAttachments(thumbnails);
            place(strip, 0);
        }
        if (!p.imageattachmentlinks().isEmpty()) {
            auto* strip = new ImageAttachmentLinkView();
            strip->setAttachments(p.imageattachmentlinks());
            place(strip, 0);
        }
        bottom = y;
    }
    const QRectF f = m_message->frame();
    m_message->setFrame(QRectF(f.x(), f.y(), f.width(), bottom));
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

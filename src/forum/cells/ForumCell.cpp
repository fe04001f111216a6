#include "forum/cells/ForumCell.h"

#include "app/config/Customizer.h"
#include "app/widgets/LoadCellNib.h"
#include "app/widgets/SizeToFitFixedWidth.h"

#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/StringDrawing.h"

#include "platform/foundation/Localized.h"
#include "platform/foundation/StringExtensions.h"
#include "platform/foundation/TextFormat.h"

#include <QPointer>

namespace {

Label* makeLabel(const QRectF& frame, const QFont& font)
{
    auto* label = new Label(frame);
    label->setFont(font);
    label->setBackgroundColor(Qt::transparent);
    label->setOpaque(false);
    label->setHighlightedTextColor(Qt::white);
    return label;
}

}  // namespace

qreal ForumCell::indentWidth(const QFont& font)
{
    // Blanks alone measure nothing: measured before a letter.
    const QString mark = QStringLiteral("x");
    return StringDrawing::sizeWithFont(kSubforumsIndent + mark, font).width()
           - StringDrawing::sizeWithFont(mark, font).width();
}

ForumCell::ForumCell() : TableViewCell(TableViewCellStyle::Default, QStringLiteral("ForumCell"))
{
    const QFont small = Font::fontWithName(QStringLiteral("Helvetica"), 11);
    m_unread = new ImageView(QRectF(8, kTitleY + 2, 16, 16));
    m_unread->setImageNamed(QStringLiteral("forum_new.png"));
    m_unread->setContentMode(ContentMode::Center);
    m_title = makeLabel(QRectF(kTextX, kTitleY, kTextWidth, 19), Font::fontWithName(QStringLiteral("Helvetica-Bold"), 15));
    m_shortDescription = makeLabel(QRectF(kTextX, 26, kTextWidth, 16), Font::fontWithName(QStringLiteral("Helvetica"), 12));
    m_subforums = makeLabel(QRectF(kTextX, 42, kTextWidth, 14), Font::fontWithName(QStringLiteral("Helvetica"), 12));
    // The caption takes the room of the blanks before the names, shrinking
    // its font to fit there.
    m_subforumsTitle = makeLabel(QRectF(kTextX, 43, indentWidth(m_subforums->font()) - 4, 14),
                                 Font::fontWithName(QStringLiteral("Helvetica-Bold"), 11));
    m_subforumsTitle->setAdjustsFontSizeToFitWidth(true);
    m_subforumsTitle->setMinimumFontSize(8);
    m_threadsPosts = makeLabel(QRectF(kTextX, 58, kTextWidth, 14), small);
    for (View* view : std::initializer_list<View*>{m_unread, m_title, m_shortDescription, m_subforums,
                                                   m_subforumsTitle, m_threadsPosts})
        contentView()->addSubview(view);
    setSeparator(TableViewCellSeparatorStyle::SingleLine, QColor(0xD5, 0xDC, 0xE6));
}

ForumCell::~ForumCell() = default;

void ForumCell::setForum(const ForumPtr& forum)
{
    m_forum = forum;
    Customizer& theme = Customizer::getInstance();
    m_title->setTextColor(theme.colorForKey(kColorTextTitle));
    m_subforumsTitle->setTextColor(theme.colorForKey(kColorTextTitle));
    m_shortDescription->setTextColor(theme.colorForKey(kColorTextPrimary));
    m_subforums->setTextColor(theme.colorForKey(kColorTextPrimary));
    m_threadsPosts->setTextColor(theme.colorForKey(kColorTextSecondary));
    m_unread->setHidden(!forum || !forum->isNew());

    qreal h = kTitleY;
    m_title->setFrame(QRectF(kTextX, h, kTextWidth, m_title->frame().height()));
    // The forum's answers write "&" as "&amp;".
    m_title->setText(forum ? StringExtensions::replaceAmpersands(forum->title_clean()) : QString());
    sizeToFitCurrentWidth(m_title);
    h += m_title->frame().height();

    m_shortDescription->setText(forum ? forum->description_clean() : QString());
    m_shortDescription->setFrame(QRectF(kTextX, h, kTextWidth, 0));
    sizeToFitCurrentWidth(m_shortDescription);
    h += m_shortDescription->frame().height();

    const QList<ForumPtr> children = forum ? forum->children() : QList<ForumPtr>();
    if (children.isEmpty()) {
        m_subforumsTitle->setHidden(true);
        m_subforums->setText(QString());
        m_subforums->setHidden(true);
    } else {
        // The caption's text is the count format of the subforums header too.
        m_subforumsTitle->setText(TextFormat::fill(localized("subforums"),
                                                   {Value(int(children.size()))}));
        m_subforumsTitle->setHidden(false);
        QRectF caption = m_subforumsTitle->frame();
        caption.moveTop(h + kSubforumsCaptionOffset);
        m_subforumsTitle->setFrame(caption);
        QStringList names;
        for (const ForumPtr& child : children)
            names.append(child ? StringExtensions::replaceAmpersands(child->title_clean()) : QString());
        m_subforums->setText(kSubforumsIndent + names.join(QStringLiteral(", ")));
        m_subforums->setHidden(false);
        m_subforums->setFrame(QRectF(kTextX, h, kTextWidth, 0));
        sizeToFitCurrentWidth(m_subforums);
        h += m_subforums->frame().height();
    }

    h = std::max(h, kMinimumHeight);
    if (!forum || forum->is_link()) {
        m_threadsPosts->setHidden(true);
    } else {
        m_threadsPosts->setHidden(false);
        m_threadsPosts->setText(TextFormat::fill(localized("threads_replies"),
                                                 {Value(forum->threadcount()), Value(forum->replycount())}));
        const qreal width = m_threadsPosts->frame().width();
        m_threadsPosts->sizeToFit();
        m_threadsPosts->setFrame(QRectF(kTextX, h, width, m_threadsPosts->frame().height()));
        h += m_threadsPosts->frame().height();
    }
    m_height = h;
}

qreal ForumCell::heightForForum(const ForumPtr& forum)
{
    // The measuring cell stays for the run; it is never on screen.
    static QPointer<ForumCell> prototype;
    if (!prototype)
        prototype = loadCellNibForTableView<ForumCell>(nullptr);
    prototype->setForum(forum);
    const qreal height = prototype->height();
    prototype->setForum(nullptr);
    return height;
}

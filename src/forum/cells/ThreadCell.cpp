#include "forum/cells/ThreadCell.h"

#include "app/config/Customizer.h"
#include "app/text/QuoteFormatter.h"

#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ResourceImages.h"

#include "platform/foundation/Localized.h"
#include "platform/foundation/TextFormat.h"

ThreadCell::ThreadCell() : TableViewCell(TableViewCellStyle::Default, QStringLiteral("ThreadCell"))
{
    setFrame(QRectF(0, 0, 320, kHeight));
    auto* background = new View();
    background->setBackgroundColor(Qt::white);
    // A band only, hidden while the row shows the selection: a press goes
    // to the row, which keeps it however the band comes and goes.
    background->setUserInteractionEnabled(false);
    setBackgroundView(background);

    m_replied = new ImageView(QRectF(3, 10, 8, 8));
    m_replied->setImageNamed(QStringLiteral("replied.png"));
    m_title = new Label(QRectF(14, 5, 246, 20));
    m_title->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 14));
    m_info = new Label(QRectF(14, 27, 196, 16));
    m_info->setFont(Font::fontWithName(QStringLiteral("Helvetica"), 12));
    m_icon1 = new ImageView(kIcon1Frame);
    m_icon2 = new ImageView(kIcon2Frame);
    m_balloon = new ImageView(QRectF(266, 9, 46, 30));
    m_extraInfo = new Label(QRectF(266, 9, 46, 26));
    m_extraInfo->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 12));
    m_extraInfo->setTextAlignment(TextAlignment::Center);
    m_extraInfo->setTextColor(Qt::white);
    m_extraInfo->setAdjustsFontSizeToFitWidth(true);
    m_extraInfo->setMinimumFontSize(8);
    for (Label* label : {m_title, m_info, m_extraInfo}) {
        label->setBackgroundColor(Qt::transparent);
        label->setHighlightedTextColor(Qt::white);
        label->setOpaque(false);
    }
    for (ImageView* image : {m_replied, m_icon1, m_icon2, m_balloon})
        image->setContentMode(ContentMode::Center);
    for (View* view : std::initializer_list<View*>{m_replied, m_title, m_info, m_icon1, m_icon2, m_balloon, m_extraInfo})
        contentView()->addSubview(view);
    setSeparator(TableViewCellSeparatorStyle::SingleLine, QColor(0xD5, 0xDC, 0xE6));
}

ThreadCell::~ThreadCell() = default;

void ThreadCell::selectionShownDidChange()
{
    if (View* background = backgroundView())
        background->setHidden(showsSelection());
}

QString ThreadCell::iconGroup1Name() const
{
    const ThreadPtr t = thread();
    if (!t || t->isAnnouncement())
        return QString();
    if (t->isSticky())
        return QStringLiteral("sticky.png");
    if (!t->isApproved())
        return QStringLiteral("moderated.png");
    return QString();
}

QString ThreadCell::iconGroup2Name() const
{
    const ThreadPtr t = thread();
    if (!t)
        return QString();
    if (t->isSticky() && !t->isApproved())
        return QStringLiteral("moderated.png");
    if (t->isClosed())
        return QStringLiteral("lock.png");
    if (t->isNew())
        return QStringLiteral("unread.png");
    return QString();
}

QImage ThreadCell::iconGroup1() const
{
    const QString name = iconGroup1Name();
    return name.isNull() ? QImage() : ResourceImages::named(name);
}

QImage ThreadCell::iconGroup2() const
{
    const QString name = iconGroup2Name();
    return name.isNull() ? QImage() : ResourceImages::named(name);
}

void ThreadCell::setThread(const ThreadPtr& thread)
{
    m_thread = thread;
    Customizer& theme = Customizer::getInstance();

    m_title->setTextColor(theme.colorForKey(kColorTextTitle));
    if (!thread) {
        m_title->setText(QString());
    } else if (!thread->prefix_rich().isEmpty()) {
        m_title->setText(TextFormat::fill(QStringLiteral("%@ - %@"),
                                          {Value(QuoteFormatter::stripTags(thread->prefix_rich())),
                                           Value(QuoteFormatter::titleText(thread->threadtitle()))}));
    } else {
        m_title->setText(QuoteFormatter::titleText(thread->threadtitle()));
    }

    m_info->setTextColor(theme.colorForKey(kColorTextPrimary));
    const QString starter = thread && thread->user() ? thread->user()->username() : QString();
    m_info->setText(TextFormat::fill(localized("By_@"), {Value(starter)}));

    m_balloon->setImageNamed(thread && thread->isHot() ? QStringLiteral("balloon_hot.png") : QStringLiteral("balloon.png"));
    m_extraInfo->setText(QString::number(thread ? thread->replies() : 0));

    // An announcement has no replies to count.
    const bool announcement = thread && thread->isAnnouncement();
    m_balloon->setHidden(announcement);
    m_extraInfo->setHidden(announcement);
    const QImage first = iconGroup1();
    const QImage second = iconGroup2();
    if (!first.isNull()) {
        m_icon1->setImage(first);
        m_icon2->setImage(second);
    } else {
        m_icon1->setImage(second);
        m_icon2->setImage(QImage());
    }

    if (View* background = backgroundView())
        background->setAlpha(thread && thread->isDeleted() ? 0.6 : 1.0);
    m_replied->setHidden(!thread || !thread->hasReplied());
}

#include "forum/screens/HomeListBar.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/SegmentedControl.h"

HomeListBar::HomeListBar(const QRectF& frame) : Toolbar(frame)
{
    setObjectName(QStringLiteral("topBar"));
    m_icon = new ImageView(QRectF(8, 7, 20, 20));
    m_icon->setObjectName(QStringLiteral("listIcon"));
    m_icon->setContentMode(ContentMode::Center);
    addSubview(m_icon);
    m_title = new Label(QRectF(34, 0, 120, kHeight));
    m_title->setObjectName(QStringLiteral("listTitle"));
    m_title->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 15));
    m_title->setTextColor(Qt::white);
    m_title->setShadowColor(QColor(0, 0, 0, 90));
    m_title->setBackgroundColor(Qt::transparent);
    m_title->setOpaque(false);
    addSubview(m_title);
    m_filterBox = new View(QRectF(0, 0, kFilterWidth, kHeight));
    m_filterBox->setObjectName(QStringLiteral("filterBox"));
    m_filterBox->setBackgroundColor(Qt::transparent);
    m_filterBox->setOpaque(false);
    m_selectedFilter = new View(QRectF(0, 0, kFilterWidth, kHeight));
    m_selectedFilter->setObjectName(QStringLiteral("selectedFilter"));
    m_selectedFilter->setBackgroundColor(QColor(0, 0, 0, 40));
    m_selectedFilter->setOpaque(false);
    m_filterBox->addSubview(m_selectedFilter);
    m_filter = new SegmentedControl({QString()});
    m_filter->setObjectName(QStringLiteral("filter"));
    m_filter->setSegmentedControlStyle(SegmentedControlStyle::Bar);
    m_filterBox->addSubview(m_filter);
    setItems({BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace),
              BarButtonItem::withCustomView(m_filterBox)});
}

HomeListBar::~HomeListBar()
{
    if (m_filterBox && !m_filterBox->superview())
        m_filterBox->deleteLater();
}

void HomeListBar::showList(const QString& title, const QString& iconName, bool filterShown)
{
    m_filterBox->setHidden(!filterShown);
    m_title->setText(title);
    m_icon->setImageNamed(iconName);
}

void HomeListBar::showFilterTitle(const QString& title)
{
    m_filter->setTitle(title, 0);
    m_filter->setWidth(0, 0);
    m_filter->sizeToFit();
    QRectF f = m_filter->frame();
    f.setWidth(std::min<qreal>(std::max<qreal>(f.width(), 90), kFilterWidth - 12));
    f.moveCenter(m_selectedFilter->frame().center());
    m_filter->setFrame(f);
}

void HomeListBar::dropFilter()
{
    setItems({});
}

void HomeListBar::setTint(const QColor& tint)
{
    setTintColor(tint);
    m_filter->setTintColor(tint);
}

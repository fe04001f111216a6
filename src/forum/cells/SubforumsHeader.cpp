#include "forum/cells/SubforumsHeader.h"

#include "app/config/Customizer.h"

#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/Toolbar.h"

SubforumsHeader::SubforumsHeader() : View(QRectF(0, 0, 320, kHeight))
{
    Customizer& theme = Customizer::getInstance();
    m_bg = new Toolbar(frame());
    m_bg->setAutoresizingMask(Autoresizing::FlexibleSize);
    m_bg->setTintColor(theme.colorForKey(kColorBackgroundButton));
    addSubview(m_bg);
    m_title = new Label(QRectF(12, 0, 250, kHeight));
    m_title->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 13));
    // White: the theme's category colour is the bar's own tint, and would not show.
    m_title->setTextColor(Qt::white);
    m_title->setShadowColor(QColor(0, 0, 0, 90));
    m_title->setBackgroundColor(Qt::transparent);
    m_title->setOpaque(false);
    addSubview(m_title);
    m_collapseExpandBtn = new Button(QRectF(276, 0, 44, kHeight), ButtonType::Custom);
    m_collapseExpandBtn->addTarget(this, &SubforumsHeader::collapseExpand, ControlEvent::TouchUpInside);
    addSubview(m_collapseExpandBtn);
    showButtonImage();
}

void SubforumsHeader::setTitleText(const QString& text)
{
    m_title->setText(text);
}

void SubforumsHeader::showButtonImage()
{
    m_collapseExpandBtn->setImage(ResourceImages::named(m_showChilds ? QStringLiteral("subforum-collapse.png")
                                                                     : QStringLiteral("subforum-expand.png")),
                                  ControlState::Normal);
}

void SubforumsHeader::setShowChilds(bool show)
{
    m_showChilds = show;
    showButtonImage();
}

void SubforumsHeader::collapseExpand()
{
    setShowChilds(!m_showChilds);
    if (SubforumsHeaderDelegate* delegate = m_delegate.get())
        delegate->subforumsHeaderHasChanged(this);
}

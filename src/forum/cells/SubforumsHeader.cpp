#include "forum/cells/SubforumsHeader.h"

#include "app/config/Customizer.h"

#include "platform/ui/Button.h"
#include "platform/ui/FocusRing.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/Toolbar.h"

SubforumsHeader::SubforumsHeader() : Control(QRectF(0, 0, 320, kHeight))
{
    Customizer& theme = Customizer::getInstance();
    m_bg = new Toolbar(frame());
    m_bg->setAutoresizingMask(Autoresizing::FlexibleSize);
    m_bg->setTintColor(theme.colorForKey(kColorBackgroundButton));
    m_bg->setUserInteractionEnabled(false);
    addSubview(m_bg);
    m_title = new Label(QRectF(12, 0, 250, kHeight));
    m_title->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 13));
    // White: the theme's category colour is the bar's own tint, and would not show.
    m_title->setTextColor(Qt::white);
    m_title->setShadowColor(QColor(0, 0, 0, 90));
    m_title->setBackgroundColor(Qt::transparent);
    m_title->setOpaque(false);
    m_title->setUserInteractionEnabled(false);
    addSubview(m_title);
    // Only a picture now: the header takes the clicks and the keys.
    m_collapseExpandBtn = new Button(QRectF(276, 0, 44, kHeight), ButtonType::Custom);
    m_collapseExpandBtn->setUserInteractionEnabled(false);
    m_collapseExpandBtn->setKeyboardFocusable(false);
    addSubview(m_collapseExpandBtn);
    showButtonImage();
    addTarget(this, &SubforumsHeader::collapseExpand, ControlEvent::TouchUpInside);
}

void SubforumsHeader::focusInEvent(QFocusEvent* event)
{
    Control::focusInEvent(event);
    showFocusMark();
}

void SubforumsHeader::focusOutEvent(QFocusEvent* event)
{
    Control::focusOutEvent(event);
    showFocusMark();
}

void SubforumsHeader::showFocusMark()
{
    if (!m_focusRing) {
        m_focusRing = new FocusRing();
        m_focusRing->setAutoresizingMask(Autoresizing::FlexibleSize);
        addSubview(m_focusRing);
    }
    m_focusRing->setFrame(bounds());
    m_focusRing->setHidden(!showsFocusMark());
    m_focusRing->raise();
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

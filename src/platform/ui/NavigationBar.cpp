#include "platform/ui/NavigationBar.h"

#include "platform/ui/BarButtonView.h"
#include "platform/ui/BarDrawing.h"
#include "platform/ui/Font.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"

#include <QApplication>
#include <QPainter>

NavigationBar::NavigationBar(const QRectF& frame) : View(frame), m_tint(BarDrawing::defaultTint())
{
    setAutoresizingMask(Autoresizing::FlexibleWidth);
    m_titleLabel = new Label();
    m_titleLabel->setFont(Font::boldSystemFontOfSize(20));
    m_titleLabel->setTextColor(Qt::white);
    m_titleLabel->setShadowColor(QColor(0, 0, 0, 128));
    m_titleLabel->setShadowOffset(QSizeF(0, -1));
    m_titleLabel->setTextAlignment(TextAlignment::Center);
    m_titleLabel->setLineBreakMode(LineBreakMode::TailTruncation);
    addSubview(m_titleLabel);
}

void NavigationBar::setTintColor(const QColor& tint)
{
    m_tint = tint.isValid() ? tint : BarDrawing::defaultTint();
    for (BarButtonView* v : {m_backView.data(), m_leftView.data(), m_rightView.data()}) {
        if (v)
            v->setBarTint(m_tint);
    }
    update();
}

void NavigationBar::setItems(const QList<NavigationItem*>& items)
{
    for (NavigationItem* old : std::as_const(m_items)) {
        if (!items.contains(old))
            old->setChangeHandler({});
    }
    m_items = items;
    QPointer<NavigationBar> self(this);
    for (NavigationItem* item : items) {
        item->setChangeHandler([self]() {
            if (self)
                self->rebuild(true);
        });
    }
    rebuild();
}

NavigationItem* NavigationBar::topItem() const
{
    return m_items.isEmpty() ? nullptr : m_items.last();
}

NavigationItem* NavigationBar::backItem() const
{
    return m_items.size() < 2 ? nullptr : m_items[m_items.size() - 2];
}

BarButtonView* NavigationBar::backButtonView() const
{
    return m_backView.data();
}

BarButtonView* NavigationBar::leftButtonView() const
{
    return m_leftView.data();
}

BarButtonView* NavigationBar::rightButtonView() const
{
    return m_rightView.data();
}

QString NavigationBar::shownTitle() const
{
    return m_titleLabel->text();
}

void NavigationBar::clearButtons()
{
    for (BarButtonView* v : {m_backView.data(), m_leftView.data(), m_rightView.data()}) {
        if (v)
            v->removeFromSuperview();
    }
    m_backView = nullptr;
    m_leftView = nullptr;
    m_rightView = nullptr;
    // Custom views belong to their items: they are only taken off the bar.
    for (View* v : {m_leftCustom.data(), m_rightCustom.data(), m_titleView.data()}) {
        if (v && v->superview() == this) {
            v->hide();
            v->setParent(nullptr);
        }
    }
    m_leftCustom = nullptr;
    m_rightCustom = nullptr;
    m_titleView = nullptr;
}

void NavigationBar::rebuild(bool keepKeys)
{
    // The keyboard on a button of the same screen's bar goes to the button
    // that takes its place (an editor's "done" turning back into "submit"
    // as its text stops being edited); else it would be on nothing.
    const QWidget* keys = QApplication::focusWidget();
    const bool rightKeys = keepKeys && keys && keys == m_rightView.data();
    const bool leftKeys = keepKeys && keys && (keys == m_leftView.data() || keys == m_backView.data());
    clearButtons();
    NavigationItem* top = topItem();
    m_titleLabel->setText(top ? top->title() : QString());
    if (!top) {
        layoutSubviews();
        return;
    }
    if (View* tv = top->titleView()) {
        m_titleView = tv;
        addSubview(tv);
        m_titleLabel->setHidden(true);
    } else {
        m_titleLabel->setHidden(false);
    }
    auto makeButton = [this](const std::shared_ptr<BarButtonItem>& item, QPointer<View>& custom) -> BarButtonView* {
        if (!item)
            return nullptr;
        if (View* cv = item->customView()) {
            custom = cv;
            addSubview(cv);
            return nullptr;
        }
        auto* v = new BarButtonView(item, m_tint);
        QPointer<BarButtonView> weakView(v);
        item->setChangeHandler([weakView]() {
            if (weakView)
                weakView->refresh();
        });
        addSubview(v);
        return v;
    };
    if (top->leftBarButtonItem()) {
        m_leftView = makeButton(top->leftBarButtonItem(), m_leftCustom);
    } else if (NavigationItem* back = backItem(); back && !top->hidesBackButton()) {
        std::shared_ptr<BarButtonItem> item = back->backBarButtonItem();
        if (!item) {
            const QString title = back->title().isEmpty() ? QStringLiteral("Back") : back->title();
            item = BarButtonItem::withTitle(title, BarButtonItemStyle::Bordered);
        }
        auto* v = new BarButtonView(item, m_tint, true);
        QPointer<NavigationBar> self(this);
        v->addAction([self](Control*) {
            if (self && self->m_backHandler) {
                const auto handler = self->m_backHandler;
                handler();
            }
        }, ControlEvent::TouchUpInside);
        addSubview(v);
        m_backView = v;
    }
    m_rightView = makeButton(top->rightBarButtonItem(), m_rightCustom);
    layoutSubviews();
    BarButtonView* heir = nullptr;
    if (rightKeys)
        heir = m_rightView.data();
    else if (leftKeys)
        heir = m_backView ? m_backView.data() : m_leftView.data();
    if (heir && heir->acceptsKeyboardFocus())
        Keyboard::giveFocus(heir);
}

void NavigationBar::layoutSubviews()
{
    const QRectF b = bounds();
    const qreal cy = b.height() / 2;
    qreal leftEdge = 5;
    qreal rightEdge = b.width() - 5;
    // A title view stands in the middle: the buttons beside it keep clear.
    QRectF titleViewFrame;
    if (m_titleView) {
        titleViewFrame = m_titleView->frame();
        titleViewFrame.moveCenter(QPointF(b.width() / 2, cy));
    }
    auto place = [&](View* v, bool left) {
        if (!v)
            return;
        QSizeF size = v->sizeThatFits(QSizeF(b.width() / 2, 30));
        if (qobject_cast<BarButtonView*>(v) == nullptr)
            size = v->frame().size();
        qreal room = b.width() / 2 - 40;
        if (m_titleView) {
            const qreal beside = left ? titleViewFrame.left() - 6 - leftEdge : rightEdge - 6 - titleViewFrame.right();
            room = qMin(room, qMax(kMinimumButtonWidth, beside));
        }
        size.setWidth(qMin(size.width(), room));
        const qreal x = left ? leftEdge : rightEdge - size.width();
        v->setFrame(QRectF(x, cy - size.height() / 2, size.width(), size.height()));
        if (left)
            leftEdge = x + size.width() + 6;
        else
            rightEdge = x - 6;
    };
    place(m_backView ? static_cast<View*>(m_backView.data()) : m_leftView ? m_leftView.data() : m_leftCustom.data(),
          true);
    place(m_rightView ? static_cast<View*>(m_rightView.data()) : m_rightCustom.data(), false);
    // The title is centred on the bar when it fits there beside the buttons;
    // else it takes all the room between them, and is cut only past that.
    const qreal side = qMax(leftEdge, b.width() - rightEdge);
    QRectF titleRect(side, 0, qMax(0.0, b.width() - 2 * side), b.height());
    if (titleRect.width() < m_titleLabel->sizeThatFits(QSizeF()).width())
        titleRect = QRectF(leftEdge, 0, qMax(0.0, rightEdge - leftEdge), b.height());
    if (m_titleView)
        m_titleView->setFrame(titleViewFrame);
    m_titleLabel->setFrame(titleRect);
}

void NavigationBar::drawRect(QPainter& painter, const QRectF& rect)
{
    BarDrawing::drawBarBackground(painter, rect, m_tint);
}

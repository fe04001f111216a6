#include "platform/ui/SearchBar.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/BarButtonView.h"
#include "platform/ui/BarDrawing.h"
#include "platform/ui/Font.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr qreal kFieldHeight = 30;
constexpr qreal kMargin = 6;
// Room for the magnifier at the field's left end.
constexpr qreal kGlyphRoom = 26;

}  // namespace

SearchBar::SearchBar(const QRectF& frame)
    : View(frame), m_field(new TextField()), m_tint(BarDrawing::defaultTint())
{
    setAutoresizingMask(Autoresizing::FlexibleWidth);
    m_field->setBorderStyle(TextBorderStyle::None);
    m_field->setFont(Font::systemFontOfSize(15));
    m_field->setReturnKeyType(ReturnKeyType::Search);
    m_field->setClearButtonMode(TextFieldViewMode::WhileEditing);
    m_field->setDelegate(this);
    m_field->addTarget(this, &SearchBar::textChanged, ControlEvent::EditingChanged);
    addSubview(m_field);
    m_cancelItem = BarButtonItem::withTitle(QStringLiteral("Cancel"), BarButtonItemStyle::Bordered, this,
                                            &SearchBar::pressCancel);
    layoutSubviews();
}

SearchBar::~SearchBar()
{
    m_field->setDelegate(nullptr);
}

QString SearchBar::text() const
{
    return m_field->text();
}

void SearchBar::setText(const QString& text)
{
    m_field->setText(text);
}

QString SearchBar::placeholder() const
{
    return m_field->placeholder();
}

void SearchBar::setPlaceholder(const QString& placeholder)
{
    m_field->setPlaceholder(placeholder);
}

void SearchBar::setTintColor(const QColor& tint)
{
    m_tint = tint.isValid() ? tint : BarDrawing::defaultTint();
    if (m_cancelView)
        m_cancelView->setBarTint(m_tint);
    update();
}

void SearchBar::setShowsCancelButton(bool shows)
{
    if (shows == m_showsCancel)
        return;
    m_showsCancel = shows;
    if (shows) {
        m_cancelView = new BarButtonView(m_cancelItem, m_tint);
        // Only while the field is edited, so Tab from the field would end
        // the editing and the button with it, leaving the keys on nothing:
        // Escape in the field is the keyboard's cancel.
        m_cancelView->setKeyboardFocusable(false);
        addSubview(m_cancelView);
    } else if (m_cancelView) {
        m_cancelView->removeFromSuperview();
    }
    layoutSubviews();
    update();
}

void SearchBar::setCancelButtonTitle(const QString& title)
{
    m_cancelItem->setTitle(title);
    if (m_cancelView)
        m_cancelView->refresh();
    layoutSubviews();
}

QRectF SearchBar::fieldRect() const
{
    const QRectF b = bounds();
    qreal right = b.width() - kMargin;
    if (m_cancelView)
        right = m_cancelView->frame().left() - kMargin;
    return QRectF(kMargin, (b.height() - kFieldHeight) / 2, qMax<qreal>(0, right - kMargin), kFieldHeight);
}

void SearchBar::layoutSubviews()
{
    const QRectF b = bounds();
    if (m_cancelView) {
        const QSizeF size = m_cancelView->sizeThatFits(QSizeF());
        m_cancelView->setFrame(QRectF(b.width() - kMargin - size.width(), (b.height() - size.height()) / 2,
                                      size.width(), size.height()));
    }
    const QRectF field = fieldRect();
    m_field->setFrame(QRectF(field.x() + kGlyphRoom, field.y() + 1, qMax<qreal>(0, field.width() - kGlyphRoom - 4),
                             field.height() - 2));
}

void SearchBar::drawRect(QPainter& painter, const QRectF& rect)
{
    BarDrawing::drawBarBackground(painter, bounds(), m_tint);
    const QRectF field = fieldRect().adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath pill;
    pill.addRoundedRect(field, field.height() / 2, field.height() / 2);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillPath(pill, Qt::white);
    painter.setPen(QPen(m_tint.darker(140), 1));
    painter.drawPath(pill);
    // The magnifier: a ring and its handle, in grey.
    const QPointF centre(field.left() + 14, field.center().y() - 1.5);
    painter.setPen(QPen(QColor(128, 128, 128), 1.8, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, 4.5, 4.5);
    painter.drawLine(centre + QPointF(3.4, 3.4), centre + QPointF(7, 7));
    Q_UNUSED(rect);
}

bool SearchBar::becomeFirstResponder()
{
    return m_field->becomeFirstResponder();
}

bool SearchBar::resignFirstResponder()
{
    return m_field->resignFirstResponder();
}

bool SearchBar::isFirstResponder() const
{
    return m_field->isFirstResponder();
}

void SearchBar::pressSearch()
{
    if (SearchBarDelegate* d = m_delegate.get())
        d->searchBarSearchButtonClicked(this);
}

void SearchBar::pressCancel()
{
    if (SearchBarDelegate* d = m_delegate.get())
        d->searchBarCancelButtonClicked(this);
}

void SearchBar::textChanged()
{
    if (SearchBarDelegate* d = m_delegate.get())
        d->textDidChange(this, m_field->text());
}

void SearchBar::textFieldDidBeginEditing(TextField*)
{
    if (SearchBarDelegate* d = m_delegate.get())
        d->searchBarTextDidBeginEditing(this);
}

void SearchBar::textFieldDidEndEditing(TextField*)
{
    if (SearchBarDelegate* d = m_delegate.get())
        d->searchBarTextDidEndEditing(this);
}

bool SearchBar::textFieldShouldReturn(TextField*)
{
    pressSearch();
    return false;
}

void SearchBar::keyPressEvent(QKeyEvent* event)
{
    // Escape is the cancel button where there is one; else it ends the editing.
    if (event->key() == Qt::Key_Escape) {
        if (m_showsCancel)
            pressCancel();
        else
            resignFirstResponder();
        event->accept();
        return;
    }
    View::keyPressEvent(event);
}

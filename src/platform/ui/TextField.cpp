#include "platform/ui/TextField.h"

#include "platform/ui/Font.h"
#include "platform/ui/Keyboard.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPointer>

TextField::TextField(const QRectF& frame) : Control(frame), m_edit(new QLineEdit(this))
{
    Keyboard::ensureInstalled();
    m_edit->setFrame(false);
    // Editing begins with a tap or when asked, as on the phone: never because
    // the window was activated or another input left the screen.
    m_edit->setFocusPolicy(Qt::ClickFocus);
    m_edit->setAttribute(Qt::WA_MacShowFocusRect, false);
    m_edit->setFont(Font::systemFontOfSize(17));
    m_edit->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; border: none; padding: 0; }"));
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::PlaceholderText, QColor(179, 179, 179));
    palette.setColor(QPalette::Highlight, QColor(183, 207, 240));
    palette.setColor(QPalette::HighlightedText, Qt::black);
    m_edit->setPalette(palette);
    m_edit->installEventFilter(this);
    m_edit->show();
    connect(m_edit, &QLineEdit::textChanged, this, [this]() { sendActionsForControlEvents(ControlEvent::EditingChanged); });
    connect(m_edit, &QLineEdit::returnPressed, this, [this]() { pressReturn(); });
    layoutSubviews();
}

QString TextField::text() const
{
    return m_edit->text();
}

void TextField::setText(const QString& text)
{
    m_edit->setText(text);
}

QString TextField::placeholder() const
{
    return m_edit->placeholderText();
}

void TextField::setPlaceholder(const QString& placeholder)
{
    m_edit->setPlaceholderText(placeholder);
}

QFont TextField::font() const
{
    return m_edit->font();
}

void TextField::setFont(const QFont& font)
{
    m_edit->setFont(font);
}

void TextField::setTextColor(const QColor& color)
{
    m_textColor = color;
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::Text, color);
    m_edit->setPalette(palette);
}

void TextField::setTextAlignment(TextAlignment alignment)
{
    m_edit->setAlignment(alignment == TextAlignment::Center  ? Qt::AlignCenter
                         : alignment == TextAlignment::Right ? (Qt::AlignRight | Qt::AlignVCenter)
                                                             : (Qt::AlignLeft | Qt::AlignVCenter));
}

void TextField::setBorderStyle(TextBorderStyle style)
{
    m_borderStyle = style;
    layoutSubviews();
    update();
}

void TextField::setClearButtonMode(TextFieldViewMode mode)
{
    m_clearMode = mode;
    updateClearButton();
}

void TextField::updateClearButton()
{
    const bool editing = m_edit->hasFocus();
    const bool show = m_clearMode == TextFieldViewMode::Always
                      || (m_clearMode == TextFieldViewMode::WhileEditing && editing)
                      || (m_clearMode == TextFieldViewMode::UnlessEditing && !editing);
    m_edit->setClearButtonEnabled(show);
}

void TextField::setSecureTextEntry(bool secure)
{
    m_secure = secure;
    m_edit->setEchoMode(secure ? QLineEdit::Password : QLineEdit::Normal);
}

void TextField::setKeyboardType(KeyboardType type)
{
    m_keyboardType = type;
    Qt::InputMethodHints hints = Qt::ImhNone;
    if (type == KeyboardType::EmailAddress)
        hints = Qt::ImhEmailCharactersOnly;
    else if (type == KeyboardType::NumberPad)
        hints = Qt::ImhDigitsOnly;
    else if (type == KeyboardType::URL)
        hints = Qt::ImhUrlCharactersOnly;
    m_edit->setInputMethodHints(hints);
}

void TextField::setEnabled(bool enabled)
{
    Control::setEnabled(enabled);
    m_edit->setEnabled(enabled);
}

bool TextField::becomeFirstResponder()
{
    if (!canBecomeFirstResponder())
        return false;
    if (TextFieldDelegate* d = m_delegate.get(); d && !d->textFieldShouldBeginEditing(this))
        return false;
    m_edit->setFocus(Qt::OtherFocusReason);
    // Offscreen or before the window shows, the toolkit may not move the
    // focus; the editing state follows the request all the same.
    if (!m_editing) {
        m_editing = true;
        updateClearButton();
        Keyboard::setShown(true);
        if (TextFieldDelegate* d = m_delegate.get())
            d->textFieldDidBeginEditing(this);
        sendActionsForControlEvents(ControlEvent::EditingDidBegin);
    }
    return true;
}

bool TextField::resignFirstResponder()
{
    if (m_edit->hasFocus())
        m_edit->clearFocus();
    if (m_editing) {
        m_editing = false;
        updateClearButton();
        Keyboard::setShown(false);
        if (TextFieldDelegate* d = m_delegate.get())
            d->textFieldDidEndEditing(this);
        sendActionsForControlEvents(ControlEvent::EditingDidEnd);
    }
    return true;
}

bool TextField::isFirstResponder() const
{
    return m_editing || m_edit->hasFocus();
}

void TextField::pressReturn()
{
    QPointer<TextField> self(this);
    if (TextFieldDelegate* d = m_delegate.get())
        d->textFieldShouldReturn(this);
    if (self)
        sendActionsForControlEvents(ControlEvent::EditingDidEndOnExit);
}

bool TextField::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_edit)
        return false;
    if (event->type() == QEvent::KeyPress) {
        // Tab and Shift+Tab go to the next and the previous field.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
            TextFieldDelegate* d = m_delegate.get();
            if (!d || !d->textFieldShouldMoveFocus(this, forward))
                Keyboard::moveFocus(this, forward);
            return true;
        }
    }
    if (event->type() == QEvent::FocusIn && !m_editing) {
        if (TextFieldDelegate* d = m_delegate.get(); d && !d->textFieldShouldBeginEditing(this)) {
            QMetaObject::invokeMethod(m_edit, [e = QPointer<QLineEdit>(m_edit)]() { if (e) e->clearFocus(); },
                                      Qt::QueuedConnection);
            return false;
        }
        m_editing = true;
        updateClearButton();
        if (TextFieldDelegate* d = m_delegate.get())
            d->textFieldDidBeginEditing(this);
        sendActionsForControlEvents(ControlEvent::EditingDidBegin);
    } else if (event->type() == QEvent::FocusOut && m_editing) {
        m_editing = false;
        updateClearButton();
        if (TextFieldDelegate* d = m_delegate.get())
            d->textFieldDidEndEditing(this);
        sendActionsForControlEvents(ControlEvent::EditingDidEnd);
    }
    return false;
}

void TextField::layoutSubviews()
{
    const QRectF b = bounds();
    const qreal inset = m_borderStyle == TextBorderStyle::None ? 0 : 7;
    const QRectF r = b.adjusted(inset, 0, -inset + 2, 0);
    m_edit->setGeometry(QRect(qRound(r.x()), qRound(r.y()), qRound(r.width()), qRound(r.height())));
}

void TextField::drawRect(QPainter& painter, const QRectF& rect)
{
    const QRectF r = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    switch (m_borderStyle) {
    case TextBorderStyle::None:
        return;
    case TextBorderStyle::Line:
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r);
        return;
    case TextBorderStyle::Bezel:
        painter.fillRect(r, Qt::white);
        painter.setPen(QPen(QColor(100, 100, 100), 1));
        painter.drawRect(r);
        return;
    case TextBorderStyle::RoundedRect: {
        QPainterPath path;
        path.addRoundedRect(r, 7, 7);
        painter.fillPath(path, Qt::white);
        // A soft inner shadow along the top edge.
        painter.save();
        painter.setClipPath(path);
        painter.setPen(QPen(QColor(0, 0, 0, 40), 2));
        painter.drawLine(QPointF(r.left(), r.top() + 1), QPointF(r.right(), r.top() + 1));
        painter.restore();
        painter.setPen(QPen(QColor(140, 140, 140), 1));
        painter.drawPath(path);
        return;
    }
    }
}

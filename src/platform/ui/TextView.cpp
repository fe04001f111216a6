#include "platform/ui/TextView.h"

#include "platform/ui/Font.h"
#include "platform/ui/Keyboard.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

TextView::TextView(const QRectF& frame) : View(frame), m_edit(new QPlainTextEdit(this))
{
    Keyboard::ensureInstalled();
    m_edit->setFrameShape(QFrame::NoFrame);
    // Editing begins with a tap or when asked, as on the phone: never because
    // the window was activated or another input left the screen.
    m_edit->setFocusPolicy(Qt::ClickFocus);
    m_edit->setFont(Font::systemFontOfSize(17));
    m_edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_edit->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; border: none; }"));
    m_edit->installEventFilter(this);
    m_edit->show();
    setBackgroundColor(Qt::white);
    connect(m_edit, &QPlainTextEdit::textChanged, this, [this]() {
        if (TextViewDelegate* d = m_delegate.get())
            d->textViewDidChange(this);
    });
    connect(m_edit, &QPlainTextEdit::cursorPositionChanged, this, [this]() {
        if (TextViewDelegate* d = m_delegate.get())
            d->textViewDidChangeSelection(this);
    });
    layoutSubviews();
}

QString TextView::text() const
{
    // The plain text would turn no-break spaces into spaces; the raw text
    // keeps every character and separates paragraphs with U+2029.
    QString raw = m_edit->document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, u'\n');
    return raw;
}

void TextView::setText(const QString& text)
{
    QSignalBlocker block(m_edit);
    QScrollBar* bar = m_edit->verticalScrollBar();
    const int scrolled = bar->value();
    m_edit->setPlainText(text);
    QTextCursor cursor = m_edit->textCursor();
    cursor.movePosition(QTextCursor::End);
    m_edit->setTextCursor(cursor);
    // Whoever shows a long text reads it from where it was, the top at first.
    bar->setValue(qMin(scrolled, bar->maximum()));
}

QFont TextView::font() const
{
    return m_edit->font();
}

void TextView::setFont(const QFont& font)
{
    m_edit->setFont(font);
}

void TextView::setTextColor(const QColor& color)
{
    m_textColor = color;
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::Text, color);
    m_edit->setPalette(palette);
}

void TextView::setTextAlignment(TextAlignment alignment)
{
    QTextOption option = m_edit->document()->defaultTextOption();
    option.setAlignment(alignment == TextAlignment::Center  ? Qt::AlignHCenter
                        : alignment == TextAlignment::Right ? Qt::AlignRight
                                                            : Qt::AlignLeft);
    m_edit->document()->setDefaultTextOption(option);
}

void TextView::setEditable(bool editable)
{
    m_editable = editable;
    m_edit->setReadOnly(!editable);
}

void TextView::setBackgroundColor(const QColor& color)
{
    View::setBackgroundColor(color);
}

TextRange TextView::selectedRange() const
{
    const QTextCursor cursor = m_edit->textCursor();
    return TextRange{cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
}

void TextView::setSelectedRange(const TextRange& range)
{
    const int size = int(text().size());
    const int start = qBound(0, range.location, size);
    const int end = qBound(start, range.location + range.length, size);
    QTextCursor cursor = m_edit->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    m_edit->setTextCursor(cursor);
}

void TextView::scrollRangeToVisible(const TextRange& range)
{
    const TextRange keep = selectedRange();
    setSelectedRange(TextRange{range.location + range.length, 0});
    m_edit->ensureCursorVisible();
    setSelectedRange(keep);
}

bool TextView::becomeFirstResponder()
{
    if (!m_editable)
        return false;
    if (TextViewDelegate* d = m_delegate.get(); d && !d->textViewShouldBeginEditing(this))
        return false;
    m_edit->setFocus(Qt::OtherFocusReason);
    if (!m_editing) {
        m_editing = true;
        Keyboard::setShown(true);
        if (TextViewDelegate* d = m_delegate.get())
            d->textViewDidBeginEditing(this);
    }
    return true;
}

bool TextView::resignFirstResponder()
{
    // Also while another window has the focus, so that it does not come
    // back here when this window is active again.
    m_edit->clearFocus();
    if (m_editing) {
        m_editing = false;
        Keyboard::setShown(false);
        if (TextViewDelegate* d = m_delegate.get())
            d->textViewDidEndEditing(this);
    }
    return true;
}

bool TextView::isFirstResponder() const
{
    return m_editing || m_edit->hasFocus();
}

bool TextView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_edit)
        return false;
    if (event->type() == QEvent::KeyPress) {
        // Tab and Shift+Tab go to the next and the previous field.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
            TextViewDelegate* d = m_delegate.get();
            if (!d || !d->textViewShouldMoveFocus(this, forward))
                Keyboard::moveFocus(this, forward);
            return true;
        }
    }
    if (event->type() == QEvent::FocusIn && !m_editing && m_editable) {
        if (TextViewDelegate* d = m_delegate.get(); d && !d->textViewShouldBeginEditing(this)) {
            QMetaObject::invokeMethod(m_edit, [e = QPointer<QPlainTextEdit>(m_edit)]() { if (e) e->clearFocus(); },
                                      Qt::QueuedConnection);
            return false;
        }
        m_editing = true;
        if (TextViewDelegate* d = m_delegate.get())
            d->textViewDidBeginEditing(this);
    } else if (event->type() == QEvent::FocusOut && m_editing) {
        // A context menu (paste) or another window (a file chooser) takes
        // the focus only for a while: the text is still being edited.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
            return false;
        m_editing = false;
        if (TextViewDelegate* d = m_delegate.get())
            d->textViewDidEndEditing(this);
    }
    return false;
}

void TextView::layoutSubviews()
{
    const QRectF b = bounds();
    m_edit->setGeometry(QRect(qRound(b.x()) + 4, qRound(b.y()) + 2, qMax(0, qRound(b.width()) - 8),
                              qMax(0, qRound(b.height()) - 4)));
}

#include "forum/cells/QuickReplyCell.h"

#include "app/config/Customizer.h"

#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/TableView.h"

#include <QApplication>
#include <QKeyEvent>

namespace {

const QColor kRefusedBox(0xE4, 0xE7, 0xEB);
const QColor kRefusedText(0x6B, 0x75, 0x80);

Button* imageButton(const char* picture, const QRectF& frame)
{
    auto* button = new Button(frame);
    button->setImage(ResourceImages::named(QString::fromLatin1(picture)));
    button->setHidden(true);
    return button;
}

}  // namespace

QuickReplyCell::QuickReplyCell()
    : TableViewCell(TableViewCellStyle::Default, QStringLiteral("QuickReplyCell")),
      m_titleLabel(new Label(QRectF())),
      m_textView(new TextView(QRectF())),
      m_submitButton(imageButton("rightArrow.png", QRectF(290, kButtonTop, kButtonSize, kButtonSize))),
      m_cancelButton(imageButton("close.png", QRectF(kButtonInset, kButtonTop, kButtonSize, kButtonSize)))
{
    setSelectionStyle(TableViewCellSelectionStyle::None);
    contentView()->setBackgroundColor(Customizer::getInstance().colorForKey(kColorBackgroundButton));
    m_titleLabel->setText(QStringLiteral("Quick Reply"));
    m_titleLabel->setTextColor(Qt::white);
    m_titleLabel->setTextAlignment(TextAlignment::Center);
    m_titleLabel->setFont(Font::boldSystemFontOfSize(16));
    m_titleLabel->setBackgroundColor(Qt::transparent);
    m_titleLabel->setOpaque(false);
    m_textView->setBackgroundColor(Qt::white);
    m_textView->setFont(Font::systemFontOfSize(14));
    m_textView->setDelegate(this);
    m_submitButton->addTarget(this, &QuickReplyCell::submitReply, ControlEvent::TouchUpInside);
    m_cancelButton->addTarget(this, &QuickReplyCell::cancel, ControlEvent::TouchUpInside);
    contentView()->addSubview(m_titleLabel);
    contentView()->addSubview(m_textView);
    contentView()->addSubview(m_submitButton);
    contentView()->addSubview(m_cancelButton);
    m_submitButton->installEventFilter(this);
    m_cancelButton->installEventFilter(this);
    // The buttons follow the keyboard in and out of the row, whichever view of
    // it has the keyboard.
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this] { showButtonsWhileFocused(); });
}

QuickReplyCell::~QuickReplyCell()
{
    // The text box goes after this part of the row: its losing the focus tells nobody.
    m_textView->setDelegate(nullptr);
    disconnect(m_focusWatch);
}

void QuickReplyCell::setQuickReply(const QuickReplyPtr& quickReply)
{
    if (quickReply == m_quickReply)
        return;
    m_quickReply = quickReply;
    m_quickReplyObservation.observe(m_quickReply, this);
    m_textView->setText(m_quickReply ? m_quickReply->text() : QString());
    render();
}

std::shared_ptr<Thread> QuickReplyCell::thread() const
{
    return m_quickReply ? m_quickReply->thread() : nullptr;
}

void QuickReplyCell::render()
{
    const bool refused = m_quickReply && !m_quickReply->refusal().isEmpty();
    m_textView->setEditable(!refused);
    m_textView->setBackgroundColor(refused ? kRefusedBox : Qt::white);
    m_textView->setTextColor(refused ? kRefusedText : Qt::black);
    if (refused) {
        if (m_textView->isFirstResponder())
            m_textView->resignFirstResponder();
        m_textView->setText(m_quickReply->refusal());
    }
    m_submitButton->setEnabled(!(m_quickReply && m_quickReply->isSending()));
}

void QuickReplyCell::submitReply()
{
    if (!m_quickReply || !m_quickReply->submit())
        cancel();
    else
        render();
}

void QuickReplyCell::cancel()
{
    m_textView->resignFirstResponder();
}

void QuickReplyCell::textViewDidBeginEditing(TextView*)
{
    showButtonsWhileFocused();
}

void QuickReplyCell::textViewDidEndEditing(TextView*)
{
    showButtonsWhileFocused();
}

void QuickReplyCell::showButtonsWhileFocused()
{
    // While the text is written, and while the keyboard is on a button Tab
    // brought it to from the text: leaving the text for its own send button
    // must not hide that button.
    const QWidget* focused = QApplication::focusWidget();
    const bool inRow = m_textView->isFirstResponder()
        || (focused && (focused == m_submitButton || focused == m_cancelButton));
    m_submitButton->setHidden(!inRow);
    m_cancelButton->setHidden(!inRow);
    // The keyboard takes no room here, so nothing else brings a box that
    // runs under the screen's bars into view.
    TableView* list = nullptr;
    for (View* up = superview(); up && !list; up = up->superview())
        list = qobject_cast<TableView*>(up);
    if (inRow && list && list->indexPathForCell(this).isValid())
        list->scrollRectToVisible(convertRect(bounds(), list), false);
}

bool QuickReplyCell::textViewShouldMoveFocus(TextView* textView, bool forward)
{
    moveFocusInRow(textView, forward);
    return true;
}

bool QuickReplyCell::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || (watched != m_submitButton && watched != m_cancelButton))
        return TableViewCell::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab)
        || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return TableViewCell::eventFilter(watched, event);
    moveFocusInRow(static_cast<View*>(watched),
                   key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
    return true;
}

void QuickReplyCell::moveFocusInRow(View* from, bool forward)
{
    QList<View*> ring;
    for (View* stop : {static_cast<View*>(m_cancelButton), static_cast<View*>(m_submitButton)}) {
        if (!stop->isHidden() && stop->acceptsKeyboardFocus())
            ring.append(stop);
    }
    ring.append(m_textView);
    const qsizetype at = ring.indexOf(from);
    View* next = at < 0 ? m_textView : ring.at((at + (forward ? 1 : ring.size() - 1)) % ring.size());
    if (next != m_textView) {
        Keyboard::giveFocus(next);
        return;
    }
    // Round to the box again: on past the row, from its last stop forward or
    // its first one back.
    Keyboard::moveFocus(forward ? static_cast<View*>(m_textView) : ring.first(), forward);
}

void QuickReplyCell::textViewDidChange(TextView* textView)
{
    if (m_quickReply && m_quickReply->refusal().isEmpty())
        m_quickReply->setText(textView->text());
}

void QuickReplyCell::modelHasChanged(Model* model)
{
    if (!m_quickReply || model != m_quickReply.get())
        return;
    // The reply went: the box is empty again and the editing ends.
    if (m_quickReply->text().isEmpty() && !m_textView->text().isEmpty() && m_quickReply->refusal().isEmpty()) {
        m_textView->setText(QString());
        cancel();
        if (m_quickReply->replyBuilder())
            m_quickReply->replyBuilder()->announceSent();
    }
    render();
}

void QuickReplyCell::layoutSubviews()
{
    TableViewCell::layoutSubviews();
    const QRectF content = contentView()->bounds();
    const QRectF send = m_submitButton->frame();
    m_submitButton->setFrame(
        QRectF(content.width() - send.width() - kButtonInset, send.y(), send.width(), send.height()));
    const qreal titleHeight = send.height() + 6;
    m_titleLabel->setFrame(QRectF(0, 0, content.width(), titleHeight));
    m_textView->setFrame(QRectF(6, titleHeight, qMax<qreal>(0, content.width() - 12),
                                qMax<qreal>(0, content.height() - titleHeight - 6)));
}

#pragma once

#include "platform/ui/ScrollView.h"
#include "platform/ui/TextAlignment.h"

#include <QFont>

class QPlainTextEdit;
class TextView;

// A range of text in UTF-16 code units, as the platform counts.
struct TextRange {
    int location = 0;
    int length = 0;
    bool operator==(const TextRange&) const = default;
};

// Asked and told about a text view's editing; every operation optional.
class TextViewDelegate : public virtual Trackable {
public:
    virtual bool textViewShouldBeginEditing(TextView* textView) { return true; }
    virtual void textViewDidBeginEditing(TextView* textView) {}
    virtual void textViewDidEndEditing(TextView* textView) {}
    virtual void textViewDidChange(TextView* textView) {}
    virtual void textViewDidChangeSelection(TextView* textView) {}
    // Tab (forward) or Shift+Tab: true when the delegate moved the focus
    // itself; otherwise it goes round the screen's inputs.
    virtual bool textViewShouldMoveFocus(TextView* textView, bool forward) { return false; }
};

// Several lines of text, editable or not, with a selection and a caret whose
// positions count UTF-16 code units. Line breaks read back as "\n" (a "\r\n"
// or "\r" set in is one "\n"); every other character reads back as set.
// Replacing the text puts the caret at its end, as the phone does, without
// scrolling the view. Editing begins when the view takes the keyboard's input
// and ends when another view takes it or the view resigns; a menu over the
// view or another window taking the focus for a while does not end it.
class TextView : public View {
    Q_OBJECT
public:
    explicit TextView(const QRectF& frame = QRectF());

    QString text() const;
    // The caret goes to the end of the new text.
    void setText(const QString& text);
    QFont font() const;
    void setFont(const QFont& font);
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor& color);
    void setTextAlignment(TextAlignment alignment);
    bool isEditable() const { return m_editable; }
    void setEditable(bool editable);
    // The selection; its length is 0 for a caret.
    TextRange selectedRange() const;
    void setSelectedRange(const TextRange& range);
    void scrollRangeToVisible(const TextRange& range);
    void setBackgroundColor(const QColor& color) override;

    TextViewDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(TextViewDelegate* delegate) { m_delegate = WeakRef<TextViewDelegate>(delegate); }

    bool canBecomeFirstResponder() const override { return m_editable; }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    bool isFirstResponder() const override;

    void layoutSubviews() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* m_edit;
    WeakRef<TextViewDelegate> m_delegate;
    QColor m_textColor = Qt::black;
    bool m_editable = true;
    bool m_editing = false;
};

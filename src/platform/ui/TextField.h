#pragma once

#include "platform/ui/Control.h"
#include "platform/ui/TextAlignment.h"

#include <QFont>

class QLineEdit;
class TextField;

// Asked and told about a text field's editing; every operation optional.
class TextFieldDelegate : public virtual Trackable {
public:
    virtual bool textFieldShouldBeginEditing(TextField* textField) { return true; }
    virtual void textFieldDidBeginEditing(TextField* textField) {}
    virtual void textFieldDidEndEditing(TextField* textField) {}
    // The return key was pressed.
    virtual bool textFieldShouldReturn(TextField* textField) { return true; }
    // Tab (forward) or Shift+Tab: true when the delegate moved the focus
    // itself; otherwise it goes round the screen's inputs.
    virtual bool textFieldShouldMoveFocus(TextField* textField, bool forward) { return false; }
};

enum class TextBorderStyle { None = 0, Line = 1, Bezel = 2, RoundedRect = 3 };
enum class TextFieldViewMode { Never = 0, WhileEditing = 1, UnlessEditing = 2, Always = 3 };
enum class ReturnKeyType { Default = 0, Go, Google, Join, Next, Route, Search, Send, Yahoo, Done, EmergencyCall };
enum class KeyboardType { Default = 0, ASCIICapable, NumbersAndPunctuation, URL, NumberPad, PhonePad, NamePhonePad, EmailAddress };

// One line of text input: placeholder, secure entry, a clear button, the
// return key and a delegate. Sends EditingDidBegin, EditingChanged,
// EditingDidEnd and EditingDidEndOnExit.
class TextField : public Control {
    Q_OBJECT
public:
    explicit TextField(const QRectF& frame = QRectF());

    QString text() const;
    void setText(const QString& text);
    QString placeholder() const;
    void setPlaceholder(const QString& placeholder);
    QFont font() const;
    void setFont(const QFont& font);
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor& color);
    void setTextAlignment(TextAlignment alignment);
    TextBorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(TextBorderStyle style);
    TextFieldViewMode clearButtonMode() const { return m_clearMode; }
    void setClearButtonMode(TextFieldViewMode mode);
    bool isSecureTextEntry() const { return m_secure; }
    void setSecureTextEntry(bool secure);
    ReturnKeyType returnKeyType() const { return m_returnKey; }
    void setReturnKeyType(ReturnKeyType type) { m_returnKey = type; }
    KeyboardType keyboardType() const { return m_keyboardType; }
    void setKeyboardType(KeyboardType type);
    // Kept for the screens that set them; the desktop keyboard does neither.
    void setAutocorrectionEnabled(bool) {}
    void setAutocapitalizationEnabled(bool) {}
    void setAdjustsFontSizeToFitWidth(bool) {}
    void setMinimumFontSize(qreal) {}
    void setEnabled(bool enabled) override;
    bool isEditing() const { return m_editing; }

    TextFieldDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(TextFieldDelegate* delegate) { m_delegate = WeakRef<TextFieldDelegate>(delegate); }

    bool canBecomeFirstResponder() const override { return isEnabled(); }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    bool isFirstResponder() const override;
    // Presses the return key, as the user does.
    void pressReturn();

    void layoutSubviews() override;
    void drawRect(QPainter& painter, const QRectF& rect) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateClearButton();

    QLineEdit* m_edit;
    WeakRef<TextFieldDelegate> m_delegate;
    QColor m_textColor = Qt::black;
    TextBorderStyle m_borderStyle = TextBorderStyle::None;
    TextFieldViewMode m_clearMode = TextFieldViewMode::Never;
    ReturnKeyType m_returnKey = ReturnKeyType::Default;
    KeyboardType m_keyboardType = KeyboardType::Default;
    bool m_secure = false;
    bool m_editing = false;
};

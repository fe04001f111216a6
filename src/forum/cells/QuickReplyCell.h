#pragma once

#include "forum/model/QuickReply.h"

#include "app/model/ModelObserver.h"

#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextView.h"

#include "platform/foundation/Observation.h"

class Button;
class Label;

// The last row of a thread page: "Quick Reply" over a text box, with a send
// and a close button while the box is edited. What is typed is kept in the
// row's model, so the text survives the row scrolling away; a sent reply
// empties the box and ends the editing. A thread the member may not reply to
// shows the forum's reason in a grey box that takes no text.
//
// The keys enter the row at its box, which then comes into view whole, and
// go round the row's stops in reading order (the close and send buttons
// stand above the box) before they leave it: Tab from the box goes up to
// close, then send, then past the row; Shift+Tab goes to send, then close,
// then back before the row. The buttons show only while the keys are in
// the row, so a way that left the row at once would never meet them.
class QuickReplyCell : public TableViewCell, public TextViewDelegate, public ModelObserver {
    Q_OBJECT
public:
    static constexpr qreal kButtonSize = 24;
    static constexpr qreal kButtonInset = 2;
    static constexpr qreal kButtonTop = 4;

    QuickReplyCell();
    ~QuickReplyCell() override;

    const QuickReplyPtr& quickReply() const { return m_quickReply; }
    // Observes the row's model and shows it; null shows an empty box.
    void setQuickReply(const QuickReplyPtr& quickReply);
    // The thread replied to.
    std::shared_ptr<Thread> thread() const;

    // The send button: the text goes when there is some, else the editing ends.
    void submitReply();
    // The close button: the editing ends, the text stays.
    void cancel();

    Label* titleLabel() const { return m_titleLabel; }
    TextView* textView() const { return m_textView; }
    Button* submitButton() const { return m_submitButton; }
    Button* cancelButton() const { return m_cancelButton; }

    void textViewDidBeginEditing(TextView* textView) override;
    void textViewDidEndEditing(TextView* textView) override;
    void textViewDidChange(TextView* textView) override;
    bool textViewShouldMoveFocus(TextView* textView, bool forward) override;
    void modelHasChanged(Model* model) override;

    void layoutSubviews() override;

protected:
    // Tab and Shift+Tab on the buttons go round the row as from the box.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows the model: its text, or its refusal in the read-only grey box.
    void render();
    // The send and close buttons show while the keyboard is in the row.
    void showButtonsWhileFocused();
    // The next stop of the row from one of its views, or out of the row
    // once the way comes round to the box again.
    void moveFocusInRow(View* from, bool forward);

    Label* m_titleLabel;
    TextView* m_textView;
    Button* m_submitButton;
    Button* m_cancelButton;
    QuickReplyPtr m_quickReply;
    QMetaObject::Connection m_focusWatch;
    Observation m_quickReplyObservation;
};

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
    void modelHasChanged(Model* model) override;

    void layoutSubviews() override;

private:
    // Shows the model: its text, or its refusal in the read-only grey box.
    void render();
    // The send and close buttons show while the keyboard is in the row.
    void showButtonsWhileFocused();

    Label* m_titleLabel;
    TextView* m_textView;
    Button* m_submitButton;
    Button* m_cancelButton;
    QuickReplyPtr m_quickReply;
    QMetaObject::Connection m_focusWatch;
    Observation m_quickReplyObservation;
};

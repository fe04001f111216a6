#pragma once

#include "forum/screens/InsertTextDelegate.h"

#include "platform/ui/ViewController.h"

#include <QString>

class Label;
class TextField;

// Asks for one line of text (a video's address, a new thread's title...)
// under a caption. Return or "done" hands it to the delegate and takes this
// very screen off the stack, wherever the delegate has moved it; going back
// gives the delegate nothing.
class InsertTextController : public ViewController {
public:
    InsertTextController();
    ~InsertTextController() override;

    void buildNib(View* root) override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    // The caption above the line.
    QString titleText() const { return m_titleText; }
    void setTitleText(const QString& text);
    QString text() const;
    // Fills the line in advance.
    void setText(const QString& text);
    // Hands the line to the delegate and pops this screen; once.
    void finish();

    TextField* input() const { return m_input; }
    Label* label() const { return m_label; }
    InsertTextDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(InsertTextDelegate* delegate) { m_delegate = WeakRef<InsertTextDelegate>(delegate); }

private:
    TextField* m_input = nullptr;
    Label* m_label = nullptr;
    WeakRef<InsertTextDelegate> m_delegate;
    QString m_titleText;
    // Given before the view is loaded.
    QString m_pendingText;
    bool m_finished = false;
};

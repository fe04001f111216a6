#pragma once

#include "platform/foundation/AlertViewDelegate.h"

#include <QPointer>

#include <memory>

class ActivityIndicatorView;
class AlertView;
class BarButtonItem;
class EditorDraft;
class TextView;
class View;
class ViewController;

// How the editor is left. Sent: a busy sign shows, and "discard" and
// "submit" are off until the forum has answered, for what has gone out
// cannot be taken back. Discarded: at once when nothing was written, else
// after one question. Either way the screen takes itself off its stack.
class EditorLeaving : public AlertViewDelegate {
public:
    // Owned by the editor screen, whose draft says what would be lost.
    EditorLeaving(ViewController& screen, EditorDraft& draft);
    ~EditorLeaving() override;

    // The busy sign goes into the root; the text leaves the keyboard as the screen goes.
    void build(View* root, TextView* content);
    // "discard" on the bar's left, and the busy sign hidden.
    void setDiscardButton(std::shared_ptr<BarButtonItem> discard);

    // "submit" can be pressed (not while a screen waits for its form).
    void setSubmitEnabled(bool enabled) { m_submitEnabled = enabled; }
    // The bar's right button: "done" while the text is edited, else "submit".
    bool rightItemEnabled(bool editing) const;
    // The busy sign, and "discard" and "submit" off.
    void startSending(bool editing);
    // Stops and hides the busy sign.
    void stopSending(bool editing);

    // "discard": at once when nothing was written, else after asking;
    // nothing while the content is on its way.
    void cancel();
    void clickedButtonAtIndex(AlertView* alertView, int buttonIndex) override;
    // Takes this very screen off its stack, wherever it is there.
    void popSelf(bool animated);
    bool isOnStack() const;

private:
    void setSending(bool sending, bool editing);

    ViewController& m_screen;
    EditorDraft& m_draft;
    QPointer<ActivityIndicatorView> m_loading;
    QPointer<TextView> m_content;
    std::shared_ptr<BarButtonItem> m_discard;
    std::shared_ptr<AlertView> m_confirmExit;
    bool m_submitEnabled = true;
};

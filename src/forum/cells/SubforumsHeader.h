#pragma once

#include "forum/cells/SubforumsHeaderDelegate.h"

#include "platform/ui/Control.h"

#include "platform/foundation/WeakRef.h"

class Button;
class FocusRing;
class Label;
class Toolbar;

// The header of a thread list whose forum has subforums: their count, and a
// chevron saying whether their rows show above the threads (hidden at
// first). The whole header shows or hides them: a click anywhere on it, or
// Return or Space once Tab has brought the keyboard to it.
class SubforumsHeader : public Control {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 30;

    SubforumsHeader();

    void setTitleText(const QString& text);
    // The header's action: shows or hides the subforums and tells the delegate.
    void collapseExpand();
    bool acceptsKeyboardFocus() const override { return isEnabled(); }
    bool showChilds() const { return m_showChilds; }
    void setShowChilds(bool show);
    SubforumsHeaderDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(SubforumsHeaderDelegate* delegate) { m_delegate = delegate; }

    Label* title() const { return m_title; }
    Button* collapseExpandBtn() const { return m_collapseExpandBtn; }
    Toolbar* bg() const { return m_bg; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showButtonImage();
    // The bar covers the header's own drawing: the mark lies over it.
    void showFocusMark();

    Label* m_title;
    Button* m_collapseExpandBtn;
    Toolbar* m_bg;
    FocusRing* m_focusRing = nullptr;
    bool m_showChilds = false;
    WeakRef<SubforumsHeaderDelegate> m_delegate;
};

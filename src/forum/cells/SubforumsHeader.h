#pragma once

#include "forum/cells/SubforumsHeaderDelegate.h"

#include "platform/ui/View.h"

#include "platform/foundation/WeakRef.h"

class Button;
class Label;
class Toolbar;

// The header of a thread list whose forum has subforums: their count, and a
// button that shows or hides their rows above the threads (hidden at first).
class SubforumsHeader : public View {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 30;

    SubforumsHeader();

    void setTitleText(const QString& text);
    // The button's action: shows or hides the subforums and tells the delegate.
    void collapseExpand();
    bool showChilds() const { return m_showChilds; }
    void setShowChilds(bool show);
    SubforumsHeaderDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(SubforumsHeaderDelegate* delegate) { m_delegate = delegate; }

    Label* title() const { return m_title; }
    Button* collapseExpandBtn() const { return m_collapseExpandBtn; }
    Toolbar* bg() const { return m_bg; }

private:
    void showButtonImage();

    Label* m_title;
    Button* m_collapseExpandBtn;
    Toolbar* m_bg;
    bool m_showChilds = false;
    WeakRef<SubforumsHeaderDelegate> m_delegate;
};

#pragma once

#include "platform/ui/View.h"

#include <QStringList>

class ActionSheet;

// Told which button of an action sheet was chosen.
class ActionSheetDelegate : public virtual Trackable {
public:
    virtual void clickedButtonAtIndex(ActionSheet* actionSheet, int buttonIndex) {}
    virtual void didDismissWithButtonIndex(ActionSheet* actionSheet, int buttonIndex) {}
};

// A choice of actions sliding up from the bottom of a view. The buttons are
// numbered in the order shown: the destructive one first (0), then the
// others, then the cancel button last. Escape chooses the cancel button.
class ActionSheet : public View {
    Q_OBJECT
public:
    ActionSheet(const QString& title, ActionSheetDelegate* delegate, const QString& cancelButtonTitle,
                const QString& destructiveButtonTitle, const QStringList& otherButtonTitles);

    QString title() const { return m_title; }
    ActionSheetDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(ActionSheetDelegate* delegate) { m_delegate = WeakRef<ActionSheetDelegate>(delegate); }
    int numberOfButtons() const { return int(m_buttons.size()); }
    QString buttonTitleAtIndex(int index) const { return m_buttons.value(index); }
    // Appends a button before the cancel button; answers its index.
    int addButtonWithTitle(const QString& title);
    int cancelButtonIndex() const { return m_cancelIndex; }
    int destructiveButtonIndex() const { return m_destructiveIndex; }
    int firstOtherButtonIndex() const;

    // Shows the sheet over the view's window (over the view when it has none).
    void showInView(View* view);
    bool isVisible() const { return m_visible; }
    void dismissWithClickedButtonIndex(int buttonIndex, bool animated);
    QRectF buttonRect(int index) const;

    void drawRect(QPainter& painter, const QRectF& rect) override;
    void touchesBegan(const QPointF& point) override;
    void touchesEnded(const QPointF& point) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    qreal panelHeight() const;
    QRectF panelRect() const;
    int buttonAt(const QPointF& point) const;

    QString m_title;
    WeakRef<ActionSheetDelegate> m_delegate;
    QStringList m_buttons;
    int m_cancelIndex = -1;
    int m_destructiveIndex = -1;
    int m_pressed = -1;
    bool m_visible = false;
    qreal m_slide = 0;  // 1 shown, 0 below the screen
};

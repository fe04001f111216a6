#pragma once

#include "platform/ui/View.h"

#include <QImage>
#include <QList>
#include <QPair>
#include <QString>

class Button;

// Told what the member chose in the editor's formatting menus.
class EditorFormatBarDelegate : public virtual Trackable {
public:
    // "B", "I" or "U".
    virtual void addTag(const QString& name) = 0;
    // 1 to 5.
    virtual void addSize(int size) = 0;
    // The emoticon's text, such as ":)".
    virtual void addEmoticon(const QString& code) = 0;
};

// The editor's formatting bar: three pop-up menus, one shown at a time (font
// style, font size, emoticons), each a dark panel of keys. The bar takes the
// size of the menu shown and keeps its right and bottom edges where they
// are, so it opens upwards from the button strip.
class EditorFormatBar : public View {
    Q_OBJECT
public:
    enum class Menu { None, FontStyle, FontSize, Emoticon };
    static constexpr qreal kKeyWidth = 49;
    static constexpr qreal kKeyHeight = 33;
    static constexpr int kKeysPerRow = 6;

    // The emoticons in the order shown: their text and their picture.
    explicit EditorFormatBar(const QList<QPair<QString, QImage>>& emoticons);
    ~EditorFormatBar() override;

    EditorFormatBarDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(EditorFormatBarDelegate* delegate) { m_delegate = WeakRef<EditorFormatBarDelegate>(delegate); }

    // Shows that menu (and the bar), the others hidden; None hides them all.
    void showMenu(Menu menu);
    Menu shownMenu() const { return m_shown; }
    // The bar's bottom right corner, in its superview.
    void setAnchor(const QPointF& bottomRight);

    View* fontStyleMenu() const { return m_fontStyleMenu; }
    View* fontSizeMenu() const { return m_fontSizeMenu; }
    View* emoticonMenu() const { return m_emoticonMenu; }
    // The key of emoticon i (its tag is i), or null.
    Button* emoticonButton(int index) const;
    // The menu's size for that many emoticons, and the frame of key i in it.
    static QSizeF emoticonMenuSize(int count);
    static QRectF emoticonKeyFrame(int index, int count);

private:
    View* makeMenu(const QSizeF& size);
    void addKey(View* menu, const QRectF& frame, const QImage& picture, int tag);
    void place();

    QList<QPair<QString, QImage>> m_emoticons;
    View* m_fontStyleMenu;
    View* m_fontSizeMenu;
    View* m_emoticonMenu;
    QList<Button*> m_emoticonButtons;
    Menu m_shown = Menu::None;
    QPointF m_anchor;
    WeakRef<EditorFormatBarDelegate> m_delegate;
};

#pragma once

#include "platform/ui/ButtonType.h"
#include "platform/ui/Control.h"
#include "platform/ui/EdgeInsets.h"

#include <QHash>
#include <QImage>

class ImageView;
class Label;

// Where a button's picture and title stand across its width.
enum class ContentHorizontalAlignment { Center = 0, Left = 1, Right = 2 };

// A button with a title, a picture and a background picture per control
// state (a state without its own falls back to the normal one). A custom
// button draws only what it is given; a rounded-rect button draws the
// platform's white rounded face.
class Button : public Control {
    Q_OBJECT
public:
    explicit Button(const QRectF& frame = QRectF(), ButtonType type = ButtonType::Custom);
    static Button* buttonWithType(ButtonType type) { return new Button(QRectF(), type); }

    ButtonType buttonType() const { return m_type; }

    void setTitle(const QString& title, unsigned state = 0);
    QString titleForState(unsigned state) const;
    QString currentTitle() const { return titleForState(state()); }
    void setTitleColor(const QColor& color, unsigned state = 0);
    QColor titleColorForState(unsigned state) const;
    void setTitleShadowColor(const QColor& color, unsigned state = 0);
    QColor titleShadowColorForState(unsigned state) const;
    void setImage(const QImage& image, unsigned state = 0);
    QImage imageForState(unsigned state) const;
    void setBackgroundImage(const QImage& image, unsigned state = 0);
    QImage backgroundImageForState(unsigned state) const;

    // The label that shows the title (its font and shadow offset are the
    // button's) and the view that shows the picture.
    Label* titleLabel() const { return m_titleLabel; }
    ImageView* imageView() const { return m_imageView; }

    EdgeInsets contentEdgeInsets() const { return m_contentInsets; }
    void setContentEdgeInsets(const EdgeInsets& insets);
    ContentHorizontalAlignment contentHorizontalAlignment() const { return m_horizontalAlignment; }
    void setContentHorizontalAlignment(ContentHorizontalAlignment alignment);
    bool adjustsImageWhenHighlighted() const { return m_adjustsImage; }
    void setAdjustsImageWhenHighlighted(bool on) { m_adjustsImage = on; }

    bool acceptsKeyboardFocus() const override { return isEnabled() && isKeyboardFocusable(); }
    QSizeF sizeThatFits(const QSizeF& size) const override;
    void layoutSubviews() override;
    void drawRect(QPainter& painter, const QRectF& rect) override;
    // A custom button without a background picture: its title and picture are views of their own.
    bool drawsNothing() const override;

protected:
    void stateDidChange() override;

private:
    template <typename T>
    static T lookup(const QHash<unsigned, T>& table, unsigned state);
    void refreshContent();

    ButtonType m_type;
    QHash<unsigned, QString> m_titles;
    QHash<unsigned, QColor> m_titleColors;
    QHash<unsigned, QColor> m_shadowColors;
    QHash<unsigned, QImage> m_images;
    QHash<unsigned, QImage> m_backgrounds;
    Label* m_titleLabel;
    ImageView* m_imageView;
    EdgeInsets m_contentInsets;
    ContentHorizontalAlignment m_horizontalAlignment = ContentHorizontalAlignment::Center;
    bool m_adjustsImage = true;
};

#include "forum/screens/EditorButtonStrip.h"

#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/ResourceImages.h"

namespace {

Button* stripButton(View* strip, const char* picture, int place)
{
    auto* button = new Button(QRectF(18 + 50 * place, 2, 40, 36));
    button->setImage(ResourceImages::named(QString::fromLatin1(picture)));
    strip->addSubview(button);
    return button;
}

}  // namespace

EditorButtonStrip::EditorButtonStrip() : View(QRectF(0, 0, kWidth, kHeight))
{
    setBackgroundColor(Qt::transparent);
    setOpaque(false);
    auto* ground = new ImageView(QRectF(0, 0, kWidth, kHeight));
    ground->setImageNamed(QStringLiteral("editor_strip.png"));
    addSubview(ground);
    m_fontStyle = stripButton(this, "editor_style.png", 0);
    m_fontSize = stripButton(this, "editor_size.png", 1);
    m_smiley = stripButton(this, "editor_smiley.png", 2);
}

EditorButtonStrip::~EditorButtonStrip() = default;

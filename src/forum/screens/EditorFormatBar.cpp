#include "forum/screens/EditorFormatBar.h"

#include "app/widgets/RoundedRectView.h"

#include "platform/ui/Button.h"
#include "platform/ui/ResourceImages.h"


namespace {

// Keys of the style and size menus sit left to right after this margin.
constexpr qreal kMargin = 10;
constexpr qreal kKeyTop = 7;
// Room the panel keeps around its keys: 20 across, 26 down.
constexpr qreal kPanelWidthExtra = 20;
constexpr qreal kPanelHeightExtra = 26;
const QColor kPanel(0x1E, 0x2A, 0x3B, 235);

QSizeF rowMenuSize(int keys)
{
    return QSizeF(keys * EditorFormatBar::kKeyWidth + kPanelWidthExtra,
                  EditorFormatBar::kKeyHeight + kPanelHeightExtra);
}

}  // namespace

EditorFormatBar::EditorFormatBar(const QList<QPair<QString, QImage>>& emoticons)
    : View(QRectF()), m_emoticons(emoticons)
{
    setBackgroundColor(Qt::transparent);
    setOpaque(false);

    m_fontStyleMenu = makeMenu(rowMenuSize(3));
    const char* styles[] = {"editor_bold.png", "editor_italic.png", "editor_underline.png"};
    for (int i = 0; i < 3; ++i) {
        addKey(m_fontStyleMenu, QRectF(kMargin + kKeyWidth * i, kKeyTop, kKeyWidth, kKeyHeight),
               ResourceImages::named(QString::fromLatin1(styles[i])), i);
    }
    m_fontSizeMenu = makeMenu(rowMenuSize(5));
    for (int size = 1; size <= 5; ++size) {
        addKey(m_fontSizeMenu, QRectF(kMargin + kKeyWidth * (size - 1), kKeyTop, kKeyWidth, kKeyHeight),
               ResourceImages::named(QStringLiteral("editor_size_%1.png").arg(size)), size);
    }
    const int count = int(m_emoticons.size());
    m_emoticonMenu = makeMenu(emoticonMenuSize(count));
    for (int i = 0; i < count; ++i) {
        addKey(m_emoticonMenu, emoticonKeyFrame(i, count), m_emoticons.at(i).second, i);
        m_emoticonButtons.append(static_cast<Button*>(m_emoticonMenu->subviews().last()));
    }
    showMenu(Menu::None);
}

EditorFormatBar::~EditorFormatBar() = default;

QSizeF EditorFormatBar::emoticonMenuSize(int count)
{
    const int columns = qMin(count, kKeysPerRow);
    const int rows = (count + kKeysPerRow - 1) / kKeysPerRow;
    return QSizeF(columns * kKeyWidth + kPanelWidthExtra, rows * kKeyHeight + kPanelHeightExtra);
}

QRectF EditorFormatBar::emoticonKeyFrame(int index, int count)
{
    // Rows fill from the right, inside the panel whatever the count.
    const int row = index / kKeysPerRow;
    const int column = index % kKeysPerRow;
    const qreal width = emoticonMenuSize(count).width();
    return QRectF(width - kMargin - kKeyWidth * (column + 1), kKeyTop + kKeyHeight * row, kKeyWidth, kKeyHeight);
}

View* EditorFormatBar::makeMenu(const QSizeF& size)
{
    auto* menu = new View(QRectF(QPointF(0, 0), size));
    menu->setBackgroundColor(Qt::transparent);
    menu->setOpaque(false);
    auto* panel = new RoundedRectView(QRectF(QPointF(0, 0), size));
    panel->setTag(1);
    panel->setRectColor(kPanel);
    panel->setStrokeColor(QColor(0, 0, 0, 140));
    panel->setCornerRadius(10);
    panel->setAutoresizingMask(Autoresizing::FlexibleSize);
    menu->addSubview(panel);
    menu->setHidden(true);
    addSubview(menu);
    return menu;
}

void EditorFormatBar::addKey(View* menu, const QRectF& frame, const QImage& picture, int tag)
{
    auto* key = new Button(frame);
    key->setImage(picture);
    key->setTag(tag);
    menu->addSubview(key);
    WeakRef<EditorFormatBar> self(this);
    key->addAction([self, menu, tag](Control*) {
        EditorFormatBar* bar = self.get();
        EditorFormatBarDelegate* d = bar ? bar->m_delegate.get() : nullptr;
        if (!d)
            return;
        if (menu == bar->m_fontStyleMenu)
            d->addTag(QStringList{QStringLiteral("B"), QStringLiteral("I"), QStringLiteral("U")}.value(tag));
        else if (menu == bar->m_fontSizeMenu)
            d->addSize(tag);
        else if (tag < bar->m_emoticons.size())
            d->addEmoticon(bar->m_emoticons.at(tag).first);
    }, ControlEvent::TouchUpInside);
}

Button* EditorFormatBar::emoticonButton(int index) const
{
    return m_emoticonButtons.value(index);
}

void EditorFormatBar::showMenu(Menu menu)
{
    m_shown = menu;
    m_fontStyleMenu->setHidden(menu != Menu::FontStyle);
    m_fontSizeMenu->setHidden(menu != Menu::FontSize);
    m_emoticonMenu->setHidden(menu != Menu::Emoticon);
    setHidden(menu == Menu::None);
    place();
}

void EditorFormatBar::setAnchor(const QPointF& bottomRight)
{
    m_anchor = bottomRight;
    place();
}

void EditorFormatBar::place()
{
    View* shown = m_shown == Menu::FontStyle ? m_fontStyleMenu
                  : m_shown == Menu::FontSize ? m_fontSizeMenu
                  : m_shown == Menu::Emoticon ? m_emoticonMenu
                                              : nullptr;
    const QSizeF size = shown ? shown->frame().size() : QSizeF();
    setFrame(QRectF(m_anchor - QPointF(size.width(), size.height()), size));
}

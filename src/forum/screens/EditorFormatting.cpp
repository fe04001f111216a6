#include "forum/screens/EditorFormatting.h"

#include "forum/screens/EditorButtonStrip.h"

#include "app/text/Smiles.h"

#include "platform/ui/Button.h"
#include "platform/ui/View.h"

#include "platform/foundation/Clock.h"

EditorFormatting::EditorFormatting(View* root, Write write) : m_root(root), m_write(std::move(write))
{
    QList<QPair<QString, QImage>> emoticons;
    Smiles& smiles = Smiles::getInstance();
    for (const auto& [code, file] : smiles.smiles())
        emoticons.append({code, smiles.imageForText(code).qimage()});
    m_bar = new EditorFormatBar(emoticons);
    m_bar->setObjectName(QStringLiteral("formatBar"));
    m_bar->setDelegate(this);
    root->addSubview(m_bar);
    m_strip = new EditorButtonStrip();
    m_strip->setObjectName(QStringLiteral("formattingStrip"));
    m_strip->fontStyleButton()->addAction([this](Control*) { toggle(EditorFormatBar::Menu::FontStyle); },
                                          ControlEvent::TouchUpInside);
    m_strip->fontSizeButton()->addAction([this](Control*) { toggle(EditorFormatBar::Menu::FontSize); },
                                         ControlEvent::TouchUpInside);
    m_strip->smileyButton()->addAction([this](Control*) { toggle(EditorFormatBar::Menu::Emoticon); },
                                       ControlEvent::TouchUpInside);
    m_strip->setHidden(true);
    root->addSubview(m_strip);
    m_bar->showMenu(EditorFormatBar::Menu::None);
}

EditorFormatting::~EditorFormatting()
{
    // The views outlive the screen's parts: a menu chosen as they go writes nothing.
    if (m_bar && m_root)
        m_bar->setDelegate(nullptr);
}

void EditorFormatting::beginEditing(qreal stripTop)
{
    m_editing = true;
    const qreal width = m_root->bounds().width();
    m_strip->setFrame(QRectF(width, stripTop, EditorButtonStrip::kWidth, EditorButtonStrip::kHeight));
    m_strip->setHidden(false);
    m_root->bringSubviewToFront(m_strip);
    m_root->bringSubviewToFront(m_bar);
    m_bar->setAnchor(QPointF(width, stripTop - 2));
    m_hideTimer.cancel();
    WeakRef<EditorFormatting> self(this);
    m_slideTimer = Clock::current().after(kSlideDelayMs, [self] {
        EditorFormatting* formatting = self.get();
        if (!formatting || !formatting->m_editing || !formatting->m_root)
            return;
        View::animate(kMoveDuration, [formatting] {
            const QRectF f = formatting->m_strip->frame();
            const qreal right = formatting->m_root->bounds().width();
            formatting->m_strip->setFrame(QRectF(right - f.width(), f.y(), f.width(), f.height()));
        });
    });
}

void EditorFormatting::endEditing()
{
    m_editing = false;
    m_slideTimer.cancel();
    View::animate(kMoveDuration, [this] {
        const QRectF f = m_strip->frame();
        m_strip->setFrame(QRectF(m_root->bounds().width(), f.y(), f.width(), f.height()));
    });
    WeakRef<EditorFormatting> self(this);
    m_hideTimer = Clock::current().after(kSlideDelayMs, [self] {
        if (EditorFormatting* formatting = self.get())
            formatting->hide();
    });
}

void EditorFormatting::toggle(EditorFormatBar::Menu menu)
{
    m_bar->showMenu(m_bar->shownMenu() == menu ? EditorFormatBar::Menu::None : menu);
}

void EditorFormatting::hide()
{
    m_bar->showMenu(EditorFormatBar::Menu::None);
    if (!m_editing)
        m_strip->setHidden(true);
}

void EditorFormatting::addTag(const QString& name)
{
    addTags(name, name);
}

void EditorFormatting::addSize(int size)
{
    addTags(QStringLiteral("SIZE=%1").arg(size), QStringLiteral("SIZE"));
}

void EditorFormatting::addTags(const QString& open, const QString& close)
{
    m_write([open, close](const QString& text, const TextRange& selection) {
        return EditorText::addTags(text, selection, open, close);
    });
    m_bar->showMenu(EditorFormatBar::Menu::None);
}

void EditorFormatting::addEmoticon(const QString& code)
{
    m_write([code](const QString& text, const TextRange& selection) {
        return EditorText::addEmoticon(text, selection, code);
    });
    m_bar->showMenu(EditorFormatBar::Menu::None);
}

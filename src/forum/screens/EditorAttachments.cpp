#include "forum/screens/EditorAttachments.h"

#include "forum/model/EditorDraft.h"
#include "forum/screens/Editor.h"
#include "forum/screens/EditorAttachmentMenu.h"
#include "forum/screens/EditorMediaList.h"
#include "forum/screens/EditorMessageText.h"
#include "forum/screens/InsertTextController.h"

#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/ScrollView.h"

#include "platform/foundation/Localized.h"

EditorAttachments::EditorAttachments(Editor& editor, EditorDraft& draft, EditorMessageText& text)
    : m_editor(editor),
      m_draft(draft),
      m_text(text)
{
}

EditorAttachments::~EditorAttachments() = default;

void EditorAttachments::build(ScrollView* scroll)
{
    m_scroll = scroll;
    m_button = new Button(QRectF(20, 0, 110, 32));
    m_button->setObjectName(QStringLiteral("addAttachment"));
    m_button->setImage(ResourceImages::named(QStringLiteral("editor_attach.png")));
    m_button->setTitle(localized("label_attach"));
    m_button->setTitleColor(Qt::white);
    m_button->titleLabel()->setFont(Font::boldSystemFontOfSize(15));
    m_button->addTarget(this, &EditorAttachments::toggleMenu, ControlEvent::TouchUpInside);
    scroll->addSubview(m_button);
    m_menu = new EditorAttachmentMenu(QRectF(140, 0, 96, 40));
    m_menu->imageButton()->addTarget(this, &EditorAttachments::addImage, ControlEvent::TouchUpInside);
    m_menu->videoButton()->addTarget(this, &EditorAttachments::addVideo, ControlEvent::TouchUpInside);
    scroll->addSubview(m_menu);
}

Button* EditorAttachments::button() const
{
    return m_button;
}

EditorMediaList* EditorAttachments::mediaList() const
{
    return m_mediaList;
}

qreal EditorAttachments::layOut(qreal y, bool editingText)
{
    const bool shown = m_allowed && !editingText;
    m_button->setHidden(!shown);
    m_button->setEnabled(m_allowed);
    if (shown) {
        m_button->setFrame(QRectF(QPointF(20, y), m_button->frame().size()));
        m_menu->setFrame(QRectF(QPointF(140, y - 4), m_menu->frame().size()));
        y += m_button->frame().height() + Editor::kRowGap;
    } else {
        m_menu->setHidden(true);
    }
    const qsizetype attachments = m_draft.attachments().size();
    if (attachments > 0 && !m_mediaList) {
        m_mediaList = new EditorMediaList(QRectF(12, y, 296, 0));
        m_scroll->addSubview(m_mediaList);
    }
    if (m_mediaList) {
        m_mediaList->setFrame(
            QRectF(12, y - Editor::kRowGap, 296, EditorMediaList::kRowHeight * attachments + 2 * Editor::kRowGap));
        m_mediaList->setHidden(attachments == 0 || editingText);
        m_mediaList->showAttachments(m_draft.attachments());
    }
    return y;
}

void EditorAttachments::toggleMenu()
{
    m_menu->setHidden(!m_menu->isHidden());
}

void EditorAttachments::hideMenu()
{
    if (m_menu)
        m_menu->setHidden(true);
}

void EditorAttachments::addImage()
{
    m_menu->setHidden(true);
    m_selector = std::make_shared<SelectImage>();
    m_selector->setDelegate(this);
    m_selector->setController(&m_editor);
    m_selector->setMediaType(SelectImage::kMediaTypeImage);
    m_selector->showInView(m_editor.view());
}

void EditorAttachments::imageWasSelected(const std::shared_ptr<ImageToUpload>& image, SelectImage*)
{
    if (!image)
        return;
    m_draft.addAttachment(image);
    m_editor.updateLayout();
    // The picture shows in the list, scrolled into sight.
    if (m_mediaList) {
        m_mediaList->showAttachments(m_draft.attachments());
        m_scroll->scrollRectToVisible(m_mediaList->frame(), false);
    }
}

void EditorAttachments::addVideo()
{
    m_menu->setHidden(true);
    if (m_text.wrapSelectionInVideo())
        return;
    auto prompt = std::make_shared<InsertTextController>();
    prompt->setTitleText(localized("insert_video_url"));
    prompt->setDelegate(this);
    // Its button is in the menu that has closed: back to the row's own.
    m_editor.openAccessory(prompt, m_button);
}

void EditorAttachments::textWasInserted(InsertTextController* prompt)
{
    const QString address = prompt ? prompt->text().trimmed() : QString();
    if (!address.isEmpty())
        m_text.appendVideo(address);
}

#include "forum/screens/EditorTagsRow.h"

#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

#include "platform/foundation/Localized.h"

EditorTagsRow::EditorTagsRow(const QRectF& frame) : View(frame)
{
    setObjectName(QStringLiteral("tagsRow"));
    setBackgroundColor(Qt::transparent);
    setOpaque(false);
    m_button = new Button(QRectF(0, 0, 84, kHeight), ButtonType::RoundedRect);
    m_button->setObjectName(QStringLiteral("tagsButton"));
    m_button->setTitle(localized("placeholder_tags"));
    addSubview(m_button);
    m_list = new Label(QRectF(94, 0, 186, kHeight));
    m_list->setObjectName(QStringLiteral("tagsList"));
    m_list->setFont(Font::systemFontOfSize(15));
    m_list->setTextColor(Qt::white);
    m_list->setShadowColor(QColor(0, 0, 0, 110));
    m_list->setBackgroundColor(Qt::transparent);
    m_list->setOpaque(false);
    m_list->setText(localized("none"));
    addSubview(m_list);
}

void EditorTagsRow::setTagsEnabled(bool enabled, const QString& tags)
{
    setAlpha(enabled ? 1.0 : 0.5);
    m_button->setEnabled(enabled);
    m_list->setText(enabled && !tags.isEmpty() ? tags : localized("none"));
}

void EditorTagsRow::showTags(const QString& tags)
{
    m_list->setText(tags.trimmed().isEmpty() ? localized("none") : tags);
}

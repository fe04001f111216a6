#include "forum/model/EditorDraft.h"

bool EditorDraft::touchText()
{
    if (m_textTouched)
        return false;
    m_textTouched = true;
    m_text.clear();
    return true;
}

void EditorDraft::setText(const QString& text)
{
    if (m_textTouched)
        m_text = text;
}

QString EditorDraft::tagsToSend() const
{
    return m_tagsEnabled && !m_tags.trimmed().isEmpty() ? m_tags : QString();
}

void EditorDraft::addAttachment(const std::shared_ptr<ImageToUpload>& image)
{
    if (image)
        m_attachments.append(image);
}

bool EditorDraft::removeAttachment(const std::shared_ptr<ImageToUpload>& image)
{
    return image && m_attachments.removeOne(image);
}

UploadAttachmentList EditorDraft::attachmentsToSend() const
{
    UploadAttachmentList attachments;
    for (const std::shared_ptr<ImageToUpload>& image : m_attachments)
        attachments.append(UploadAttachment(image));
    return attachments;
}

bool EditorDraft::holdsUnsentWork() const
{
    return m_textTouched || !m_title.isEmpty() || !m_tags.trimmed().isEmpty() || !m_attachments.isEmpty();
}

#pragma once

#include "forum/model/UploadAttachment.h"

#include <QList>
#include <QString>

#include <memory>

class ImageToUpload;

// What a composing screen holds before the forum has it: a title, a text,
// tags and pictures. The text counts only once the member has left the
// placeholder; tags written for a target that takes none wait, unsent, for
// one that does. Once sent out, nothing can be taken back until the forum
// answers; a send that fails keeps everything.
class EditorDraft {
public:
    const QString& title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }

    // The text is the member's from the first touch on: before it, it is
    // nothing, whatever stands in its place. Answers whether this touch was
    // the first.
    bool touchText();
    bool isTextTouched() const { return m_textTouched; }
    QString text() const { return m_textTouched ? m_text : QString(); }
    // Ignored until the text was touched.
    void setText(const QString& text);

    const QString& tags() const { return m_tags; }
    void setTags(const QString& tags) { m_tags = tags; }
    bool tagsEnabled() const { return m_tagsEnabled; }
    void setTagsEnabled(bool enabled) { m_tagsEnabled = enabled; }
    // The tags to send: none while the target takes none.
    QString tagsToSend() const;

    const QList<std::shared_ptr<ImageToUpload>>& attachments() const { return m_attachments; }
    void addAttachment(const std::shared_ptr<ImageToUpload>& image);
    // Answers whether the picture was there.
    bool removeAttachment(const std::shared_ptr<ImageToUpload>& image);
    // The pictures as a builder takes them.
    UploadAttachmentList attachmentsToSend() const;

    // Anything at all written or attached: leaving loses it.
    bool holdsUnsentWork() const;

    // Between the send and the forum's answer.
    bool isSending() const { return m_sending; }
    void setSending(bool sending) { m_sending = sending; }
    // Whether "discard" may be asked for: never while the content is out.
    bool canDiscard() const { return !m_sending; }
    // Discarding asks first when it would lose something.
    bool discardingAsks() const { return canDiscard() && holdsUnsentWork(); }

private:
    QString m_title;
    QString m_text;
    bool m_textTouched = false;
    QString m_tags;
    bool m_tagsEnabled = true;
    QList<std::shared_ptr<ImageToUpload>> m_attachments;
    bool m_sending = false;
};

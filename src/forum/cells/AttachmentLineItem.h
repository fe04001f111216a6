#pragma once

#include "forum/model/Attachment.h"

#include "platform/ui/View.h"

#include <QString>

class Button;
class Label;

// One file line of an attachment strip: the file's name as a button sized to
// it, and its size in parentheses after it. A tap on the name opens the file
// outside the application.
class AttachmentLineItem : public View {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 20.0;
    static constexpr qreal kInfoGap = 4.0;

    // sizeFormat: the size text with one "%@" ("(%@KB)" or "(%@)").
    AttachmentLineItem(const QString& sizeFormat, qreal width);

    void setAttachment(const AttachmentPtr& attachment);
    const AttachmentPtr& attachment() const { return m_attachment; }
    Button* filename() const { return m_filename; }
    Label* info() const { return m_info; }

private:
    void open();

    QString m_sizeFormat;
    AttachmentPtr m_attachment;
    Button* m_filename = nullptr;
    Label* m_info = nullptr;
};

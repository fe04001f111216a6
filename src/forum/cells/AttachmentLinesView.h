#pragma once

#include "forum/model/Attachment.h"

#include "platform/ui/View.h"

class AttachmentLineItem;
class Label;

// A strip of file lines under a post's text: a heading band, then one line
// of 20 points per attachment on a light background. The subclasses choose
// the heading and the size text.
class AttachmentLinesView : public View {
    Q_OBJECT
public:
    // The strip's width (its background is 2 points narrower) and the band
    // above the lines.
    static constexpr qreal kWidth = 282.0;
    static constexpr qreal kHeadingHeight = 20.0;
    // The strip reaches this far beyond its background, right and below.
    static constexpr qreal kEdge = 2.0;

    // The strip's height once it shows the attachments: the heading band,
    // 20 points a line and its 2-point edge (20 n + 22); nothing for no
    // attachment.
    static qreal heightForAttachments(const AttachmentList& attachments);

    View* contentView() const { return m_contentView; }
    View* bg() const { return m_bg; }
    Label* heading() const { return m_heading; }
    QList<AttachmentLineItem*> items() const;

    // Rebuilds the lines; an empty list keeps the strip as it was.
    void setAttachments(const AttachmentList& attachments);

protected:
    AttachmentLinesView(const QString& heading, const QString& sizeFormat);

private:
    QString m_sizeFormat;
    View* m_bg = nullptr;
    View* m_contentView = nullptr;
    Label* m_heading = nullptr;
};

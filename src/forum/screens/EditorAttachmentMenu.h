#pragma once

#include "platform/ui/View.h"

class Button;

// The small menu beside the editor's "attach" button: a picture or a video.
class EditorAttachmentMenu : public View {
    Q_OBJECT
public:
    explicit EditorAttachmentMenu(const QRectF& frame);

    Button* imageButton() const { return m_image; }
    Button* videoButton() const { return m_video; }

private:
    Button* m_image = nullptr;
    Button* m_video = nullptr;
};

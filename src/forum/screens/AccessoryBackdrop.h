#pragma once

#include <QRectF>

class ImageView;
class Label;
class TextView;
class View;

// The dark blue sky behind the composing screens' helpers (the forum picker,
// the one-line prompt, the tag screen), as the editor has it.
class AccessoryBackdrop {
public:
    // Puts it at the back of the screen's view, following its size.
    static ImageView* addTo(View* root);
    // The white, shadowed words over the sky that say what to write, in a
    // bold font of that size on up to two lines.
    static Label* addHint(View* root, const QRectF& frame, qreal fontSize);
    // A white rounded box of that frame holding the text being written.
    static TextView* addTextBox(View* root, const QRectF& frame);
};

#pragma once

class ImageView;
class View;

// The dark blue sky behind the composing screens' helpers (the forum picker,
// the one-line prompt, the tag screen), as the editor has it.
class AccessoryBackdrop {
public:
    // Puts it at the back of the screen's view, following its size.
    static ImageView* addTo(View* root);
};

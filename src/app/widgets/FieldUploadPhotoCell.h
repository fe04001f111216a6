#pragma once

#include "app/widgets/FieldCell.h"

class Button;
class ImageView;
class Label;

// The row of a picture to send: the chosen picture's thumbnail (or an empty
// frame) and a line of text, the field's label before a picture is chosen
// and its labelWithPhoto after. A tap offers a picture to choose.
class FieldUploadPhotoCell : public FieldCell {
    Q_OBJECT
public:
    FieldUploadPhotoCell();

    ImageView* img() const { return m_img; }
    Label* label() const { return m_label; }
    Button* button() const { return m_button; }

    // Shows the field (after a picture was chosen too).
    void setField();
    void changePhoto();

    void layoutSubviews() override;

protected:
    void fill() override { setField(); }

private:
    ImageView* m_img;
    Label* m_label;
    Button* m_button;
};

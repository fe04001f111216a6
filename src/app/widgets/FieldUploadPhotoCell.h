#pragma once

#include "app/navigation/SelectImage.h"
#include "app/widgets/FieldCell.h"

class Button;
class ImageView;
class Label;

// The row of a picture to send: the chosen picture's thumbnail and a line of
// text, the field's label before a picture is chosen and its labelWithPhoto
// after. A tap offers the machine's pictures (and camera) over the form's
// screen; the picture chosen becomes the field's.
class FieldUploadPhotoCell : public FieldCell, public SelectImageDelegate {
    Q_OBJECT
public:
    FieldUploadPhotoCell();

    ImageView* img() const { return m_img; }
    Label* label() const { return m_label; }
    Button* button() const { return m_button; }

    // Shows the field (after a picture was chosen too).
    void setField();
    void changePhoto();
    // The picture picker while it is up.
    SelectImage* selectImage() const { return m_selectImage.get(); }

    void imageWasSelected(const std::shared_ptr<ImageToUpload>& image, SelectImage* selectImage) override;

    void layoutSubviews() override;

protected:
    void fill() override { setField(); }

private:
    ImageView* m_img;
    Label* m_label;
    Button* m_button;
    SelectImagePtr m_selectImage;
    // The field the picker chooses for.
    std::weak_ptr<Field> m_chosenFor;
};

#pragma once

#include "app/model/Model.h"
#include "app/model/ModelObserver.h"

#include "platform/ui/TableViewCell.h"
#include "platform/ui/ViewController.h"

#include "platform/foundation/Observation.h"
#include "platform/foundation/WeakRef.h"

#include <QRectF>

class Button;
class ImageView;
class Label;

// A row of the home list: a thread, a blog entry or an article, with its
// author's picture, its title, who wrote it and when, its count of replies
// or comments and the icon of its kind. The picture follows the item as it
// arrives; tapping it opens the author's profile where that screen exists.
class HomeCell : public TableViewCell, public ModelObserver {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 50.0;
    // The screen of a member's profile.
    static inline const QString kProfileScreen = QStringLiteral("MyProfile");

    HomeCell();
    ~HomeCell() override;

    void awakeFromNib() override;
    // Shows the item and follows it (its picture may come later).
    void setItem(const ModelPtr& item);
    const ModelPtr& item() const { return m_item; }
    // The screen whose navigation the profile is pushed on; not owned.
    void setController(ViewController* controller) { m_controller = controller; }
    // Opens the author's profile, when the item has one and the screen exists.
    void viewProfile();

    void modelHasChanged(Model* model) override;

    ImageView* thumb() const { return m_thumb; }
    Label* title() const { return m_title; }
    Label* short_description() const { return m_shortDescription; }
    Label* number() const { return m_number; }
    ImageView* icon() const { return m_icon; }
    Button* thumbButton() const { return m_thumbButton; }
    QRectF originalThumbRect() const { return m_originalThumbRect; }

private:
    void showPicture();

    ModelPtr m_item;
    ImageView* m_thumb;
    Button* m_thumbButton;
    Label* m_title;
    Label* m_shortDescription;
    Label* m_number;
    ImageView* m_icon;
    QRectF m_originalThumbRect;
    WeakRef<ViewController> m_controller;
    Observation m_itemObservation;
};

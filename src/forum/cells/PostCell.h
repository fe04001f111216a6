#pragma once

#include "forum/cells/PostCellOwner.h"
#include "forum/model/Post.h"

#include "app/model/ModelObserver.h"

#include "platform/ui/TableViewCell.h"

#include "platform/foundation/Observation.h"
#include "platform/foundation/WeakRef.h"

#include <QList>

class Button;
class ImageView;
class Label;


// The row of one post on a thread page: a header band with the author's
// picture, name and the date (and a mark for a post that waits for
// approval), then the post's text as nested quote boxes and under it up to
// four attachment strips: moderated, other files, thumbnails, picture links.
// The row height comes from heightForPost, which walks the body as the
// filling lays it out, so a row is exactly as high as what it draws. A tap
// on the header opens the author's profile.
class PostCell : public TableViewCell, public ModelObserver {
    Q_OBJECT
public:
    static constexpr qreal kBodyWidth = 300.0;
    // The header above the text and the margin below it.
    static constexpr qreal kChrome = 52.0;
    static constexpr qreal kStripGap = 5.0;
    static constexpr qreal kModeratedStripShift = 2.0;
    static constexpr qreal kIconGap = 5.0;
    static constexpr qreal kMeasureLimit = 9999.0;
    // The screen the header opens, given the author.
    static inline const QString kProfileScreen = QStringLiteral("MyProfile");

    PostCell();
    ~PostCell() override;

    // The height of a full post row at the text width of 300.
    static qreal heightForPost(const Post& post);
    // 52 and the body's height: the text's, and each strip's with the gap
    // above it.
    static qreal heightForPost(const Post& post, qreal width);

    const PostPtr& post() const { return m_post; }
    // Fills the row: header, icons, and the body (unless the author is
    // ignored and the row is not forced).
    virtual void setPost(const PostPtr& post);
    bool force() const { return m_force; }
    void setForce(bool force) { m_force = force; }
    PostCellOwner* controller() const { return m_controller.get(); }
    void setController(PostCellOwner* controller) { m_controller = WeakRef<PostCellOwner>(controller); }

    Label* title() const { return m_title; }
    View* message() const { return m_message; }
    Label* date() const { return m_date; }
    ImageView* avatar() const { return m_avatar; }
    // The header band under the picture, name and date, in the row's
    // coordinates, and its colour (none before the first filling). The row
    // draws it itself: one view fewer for every row on every frame.
    QRectF headerRect() const;
    QColor headerColor() const { return m_headerColor; }
    Button* headerButton() const { return m_headerButton; }
    QList<ImageView*> icons() const { return m_icons; }

    // The title's x as the layout places it, per class; -1 until the first filling.
    virtual qreal titleX() const;
    virtual void setTitleX(qreal x);

    // Pushes the author's profile on the owning screen's stack.
    void viewProfile();

    void modelHasChanged(Model* model) override;
    void prepareForReuse() override;
    void drawRect(QPainter& painter, const QRectF& rect) override;

protected:
    void selectionShownDidChange() override;

    // The layout of a collapsed row: the header only, over 90 points.
    explicit PostCell(bool collapsed);

private:
    void buildLayout(bool collapsed);
    void fillBody(const Post& post);
    // The body's one walk, measuring and filling alike: the deleted notice,
    // or the text and the strips under it. With a view, the parts are made
    // in it; answers the body's height at the width.
    static qreal layOutBody(const Post& post, qreal width, View* into, const QColor& backdrop = QColor());
    // The colour under the body's boxes: the row's, unless it shows the selection.
    QColor bodyBackdrop() const;
    void placeIcons(const Post& post);
    void dropPost();

    Label* m_title = nullptr;
    View* m_message = nullptr;
    Label* m_date = nullptr;
    ImageView* m_avatar = nullptr;
    QColor m_headerColor;
    Button* m_headerButton = nullptr;
    bool m_force = false;
    QList<ImageView*> m_icons;
    PostPtr m_post;
    WeakRef<PostCellOwner> m_controller;
    // Only while the body is shown: a hidden post's images are not loaded.
    Observation m_postObservation;
};

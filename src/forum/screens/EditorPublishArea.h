#pragma once

#include "platform/ui/View.h"

class Label;
class SegmentControlHidding;
class SegmentedControl;

// Where new content goes, in the editor: first the choice (forum, article,
// blog), then in its place the target chosen (the forum's name, or a blog
// entry's or an article's categories and publishing), each with a "change"
// button that brings the choice back.
class EditorPublishArea : public View {
    Q_OBJECT
public:
    // The choice's positions.
    enum Target { Forum = 0, Article = 1, Blog = 2 };
    static constexpr qreal kWidth = 280;
    static constexpr qreal kHeight = 66;

    explicit EditorPublishArea(const QPointF& origin);
    ~EditorPublishArea() override;

    // Shows the choice again, nothing chosen.
    void showChoice();
    // Shows that target area in place of the choice.
    void showTarget(View* target);
    // The choice again, nothing chosen, the "change" buttons let go.
    void reopenChoice();
    // Shows or hides a position of the choice; the selection stays, unless
    // its position goes.
    void setChoiceShown(int position, bool shown);
    // The target area shown, or null while the choice is.
    View* shownTarget() const;

    View* publishView() const { return m_publishView; }
    Label* labelPublishIn() const { return m_labelPublishIn; }
    Label* labelSelectOne() const { return m_labelSelectOne; }
    SegmentControlHidding* publishIn() const { return m_publishIn; }

    View* selectedForumInfo() const { return m_selectedForumInfo; }
    Label* labelForumOption() const { return m_labelForumOption; }
    Label* forumName() const { return m_forumName; }
    SegmentedControl* changePublishBtn() const { return m_changePublishBtn; }

    View* selectedBlogOptions() const { return m_selectedBlogOptions; }
    Label* labelBlogOption() const { return m_labelBlogOption; }
    Label* selectedBlogCategorys() const { return m_selectedBlogCategorys; }
    Label* selectedBlogPublishStatus() const { return m_selectedBlogPublishStatus; }
    SegmentedControl* changePublishBlogBtn() const { return m_changePublishBlogBtn; }

    View* selectedArticleOptions() const { return m_selectedArticleOptions; }
    Label* labelArticleOption() const { return m_labelArticleOption; }
    Label* selectedArticleCategorys() const { return m_selectedArticleCategorys; }
    Label* selectedArticlePublishStatus() const { return m_selectedArticlePublishStatus; }
    SegmentedControl* changePublishArticleBtn() const { return m_changePublishArticleBtn; }

private:
    View* makeTarget(Label** option, SegmentedControl** change);

    View* m_publishView;
    Label* m_labelPublishIn;
    Label* m_labelSelectOne;
    SegmentControlHidding* m_publishIn;
    View* m_selectedForumInfo;
    Label* m_labelForumOption = nullptr;
    Label* m_forumName;
    SegmentedControl* m_changePublishBtn = nullptr;
    View* m_selectedBlogOptions;
    Label* m_labelBlogOption = nullptr;
    Label* m_selectedBlogCategorys;
    Label* m_selectedBlogPublishStatus;
    SegmentedControl* m_changePublishBlogBtn = nullptr;
    View* m_selectedArticleOptions;
    Label* m_labelArticleOption = nullptr;
    Label* m_selectedArticleCategorys;
    Label* m_selectedArticlePublishStatus;
    SegmentedControl* m_changePublishArticleBtn = nullptr;
};

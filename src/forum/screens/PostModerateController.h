#pragma once

#include "forum/model/PostMover.h"
#include "forum/screens/InsertTextDelegate.h"
#include "forum/screens/ModerationSelection.h"
#include "forum/screens/PostController.h"
#include "forum/screens/SelectForumDelegate.h"

#include "platform/ui/ActionSheet.h"

#include "platform/foundation/Observation.h"

#include <QList>
#include <QPointer>
#include <QStringList>

#include <memory>

class AppContext;

// A thread's page turned into a choice of posts for a moderator, with a bar
// of four actions on the chosen posts: delete or undelete, approve or
// unapprove, approve or unapprove their attachments, and move or copy them
// into a new thread of another forum. The items read what they will do to
// the posts chosen; the rows change at once, and an action the forum
// refused shows why once while the page is loaded again as the forum has
// it. A move or copy says it went through only when it did.
class PostModerateController : public PostController,
                               public ActionSheetDelegate,
                               public SelectForumDelegate,
                               public InsertTextDelegate {
public:
    // The action in hand: the items' places, and the copy.
    enum Status { DeleteStatus = 0, ApproveStatus = 1, ApproveAttachmentsStatus = 2, MoveStatus = 3, CopyStatus = 4 };

    explicit PostModerateController(AppContext& context);
    ~PostModerateController() override;

    void viewDidLoad() override;

    void modelHasChanged(Model* model) override;
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;

    TableViewCell* cellForObject(PaginableTableView* tableView, const ModelPtr& object) override;
    qreal heightForCellWithObject(PaginableTableView* tableView, const ModelPtr& object) override;
    std::optional<QList<ModelPtr>> appendArrayOfObjects() override;
    void didSelectCell(TableViewCell* cell, const ModelPtr& object) override;
    void didSelectItem(TabBar* tabBar, const TabBarItemPtr& item) override;
    void clickedButtonAtIndex(AlertView* alertView, int buttonIndex) override;
    void clickedButtonAtIndex(ActionSheet* actionSheet, int buttonIndex) override;
    // The destination of a move or copy: the new thread's title is asked
    // for over the picker, which stays below it.
    bool forumWasSelected(const ForumPtr& destination) override;
    void selectForumWasCancelled() override;
    // The new thread's title: the move or copy goes, and this screen is on top again.
    void textWasInserted(InsertTextController* controller) override;

    // Over the chosen posts; each true while none is chosen.
    bool isDeleting() const;
    bool isApproving() const;
    bool isApprovingAttachment() const;
    QStringList selectedPostsId() const;
    const QList<PostPtr>& selectedPosts() const { return m_selection.items(); }
    bool isSelected(const Post& post) const;

    const TabBarItemPtr& deleteBtn() const { return m_deleteBtn; }
    const TabBarItemPtr& approveBtn() const { return m_approveBtn; }
    const TabBarItemPtr& approveAttachmentBtn() const { return m_approveAttachmentBtn; }
    const TabBarItemPtr& moveBtn() const { return m_moveBtn; }
    Status status() const { return m_status; }
    const PostMoverPtr& mover() const { return m_mover; }
    AlertView* deleteConfirmation() const { return m_deleteConfirmation.get(); }
    ActionSheet* moveAction() const { return m_moveAction.data(); }

protected:
    QList<TabBarItemPtr> makeActionItems() override;
    void updateActionItems() override;

private:
    // Takes the picker and the prompt off the stack, and only them: this
    // screen is on top again.
    void removeSupportingScreens();
    // What a post action hears of its answer: a refusal is shown once and
    // the page comes again as the forum has it.
    Post::Done reloadOnFailure();
    void reloadPage();
    void selectionDone();
    // The chosen posts, as the pages now hold them.
    void followSelection();

    ModerationSelection<Post> m_selection{[](const Post& post) { return post.postid(); }};
    TabBarItemPtr m_moveBtn;
    TabBarItemPtr m_deleteBtn;
    TabBarItemPtr m_approveBtn;
    TabBarItemPtr m_approveAttachmentBtn;
    std::shared_ptr<AlertView> m_deleteConfirmation;
    QPointer<ActionSheet> m_moveAction;
    PostMoverPtr m_mover;
    Status m_status = DeleteStatus;
    // A move or copy was sent and its answer is awaited.
    bool m_moveSent = false;
    Observation m_moverObservation;
};

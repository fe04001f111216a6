#include "forum/screens/PostModerateController.h"

#include "app/session/AppContext.h"

#include "forum/cells/PostCell.h"
#include "forum/cells/SelectPostCell.h"
#include "forum/screens/InsertTextController.h"
#include "forum/screens/ModerationBar.h"

#include "app/config/ConnectionError.h"
#include "app/session/CurrentUser.h"
#include "app/widgets/LoadCellNib.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/ShadowedTableView.h"
#include "app/widgets/TabBarHidding.h"

#include "platform/ui/NavigationController.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Localized.h"

PostModerateController::PostModerateController(AppContext& context) : PostController(context) {}

PostModerateController::~PostModerateController()
{
    if (m_moveAction)
        m_moveAction->setDelegate(nullptr);
}

QList<TabBarItemPtr> PostModerateController::makeActionItems()
{
    m_deleteBtn = ModerationBar::item("tabbar_delete", "tab_delete.png", DeleteStatus);
    m_approveBtn = ModerationBar::item("tabbar_approve_post", "tab_approve.png", ApproveStatus);
    m_approveAttachmentBtn = ModerationBar::item("tabbar_approve_attach", "tab_approve_attach.png", ApproveAttachmentsStatus);
    m_moveBtn = ModerationBar::item("tabbar_move", "tab_move.png", MoveStatus);
    return {m_deleteBtn, m_approveBtn, m_approveAttachmentBtn, m_moveBtn};
}

void PostModerateController::viewDidLoad()
{
    PostController::viewDidLoad();
    // Posts are chosen here, not read: the arrows go from post to post.
    postTable()->tableView()->setChoosesRowsByKeyboard(true);
    updateActionItems();
}

void PostModerateController::updateActionItems()
{
    TabBarHidding* bar = actions();
    if (!bar)
        return;
    m_deleteBtn->setTitle(localized(isDeleting() ? "tabbar_delete" : "tabbar_undelete"));
    m_approveBtn->setTitle(localized(isApproving() ? "tabbar_approve_post" : "tabbar_unapprove_post"));
    m_approveAttachmentBtn->setTitle(localized(isApprovingAttachment() ? "tabbar_approve_attach" : "tabbar_unapprove_attach"));
    m_moveBtn->setTitle(localized("tabbar_move"));
    // The thread page's rules for its own items do not apply here: all four show.
    bar->itemsChanged();
}

// ---- The choice

bool PostModerateController::isSelected(const Post& post) const
{
    return m_selection.contains(post);
}

bool PostModerateController::isDeleting() const
{
    return m_selection.noneHas(&Post::isDeleted);
}

bool PostModerateController::isApproving() const
{
    return m_selection.noneHas(&Post::isApproved);
}

bool PostModerateController::isApprovingAttachment() const
{
    return m_selection.noneHas(&Post::isApprovedAttachment);
}

QStringList PostModerateController::selectedPostsId() const
{
    return m_selection.idTexts();
}

void PostModerateController::followSelection()
{
    if (thread())
        m_selection.follow(ModerationSelection<Post>::rowsOf(thread()->pages()));
}

TableViewCell* PostModerateController::cellForObject(PaginableTableView* tableView, const ModelPtr& object)
{
    const auto post = std::dynamic_pointer_cast<Post>(object);
    if (!post)
        return nullptr;
    auto* cell = loadCellNibForTableView<SelectPostCell>(tableView->tableView());
    // A moderator sees every post in full, whoever wrote it.
    cell->setForce(true);
    cell->setController(this);
    cell->setPost(post);
    cell->setSelectedThread(isSelected(*post));
    return cell;
}

qreal PostModerateController::heightForCellWithObject(PaginableTableView*, const ModelPtr& object)
{
    const auto post = std::dynamic_pointer_cast<Post>(object);
    return post ? PostCell::heightForPost(*post) : 0;
}

std::optional<QList<ModelPtr>> PostModerateController::appendArrayOfObjects()
{
    // No reply row under a moderator's choice.
    return QList<ModelPtr>();
}

void PostModerateController::didSelectCell(TableViewCell* cell, const ModelPtr& object)
{
    const auto post = std::dynamic_pointer_cast<Post>(object);
    if (!post)
        return;
    const bool chosen = m_selection.toggle(post);
    if (auto* row = qobject_cast<SelectPostCell*>(cell))
        row->setSelectedThread(chosen);
    updateActionItems();
}

// ---- The actions

void PostModerateController::didSelectItem(TabBar*, const TabBarItemPtr& item)
{
    const int index = ModerationBar::takePressed(actions(), item);
    if (index < DeleteStatus || index > MoveStatus)
        return;
    if (m_selection.isEmpty()) {
        ModerationBar::askForChoice("post_noselection");
        return;
    }
    m_status = Status(index);
    const QList<qint32> ids = m_selection.ids();
    switch (m_status) {
    case DeleteStatus:
        if (isDeleting()) {
            m_deleteConfirmation =
                AlertView::create(QString(), localized("post_delete_confirm"), this, {localized("no"), localized("ok")});
            m_deleteConfirmation->show();
            return;
        }
        for (const PostPtr& post : m_selection.items())
            post->setDeleted(false);
        Post::undelete(ids, reloadOnFailure());
        break;
    case ApproveStatus: {
        const bool approving = isApproving();
        (approving ? Post::approve : Post::unapprove)(ids, reloadOnFailure());
        for (const PostPtr& post : m_selection.items())
            post->setApproved(approving);
        break;
    }
    case ApproveAttachmentsStatus: {
        const bool approving = isApprovingAttachment();
        (approving ? Post::approveAttachments : Post::unapproveAttachments)(ids, reloadOnFailure());
        for (const PostPtr& post : m_selection.items())
            post->setApprovedAttachment(approving);
        break;
    }
    case MoveStatus: {
        m_mover = std::make_shared<PostMover>();
        m_moverObservation.observe(m_mover, this);
        m_mover->setPostids(selectedPostsId());
        m_moveAction = new ActionSheet(QString(), this, localized("cancel"), QString(),
                                       {localized("post_moveto_thread"), localized("post_copyto_thread")});
        m_moveAction->showInView(view());
        return;
    }
    case CopyStatus:
        return;
    }
    selectionDone();
}

void PostModerateController::clickedButtonAtIndex(AlertView* alertView, int buttonIndex)
{
    if (!m_deleteConfirmation || alertView != m_deleteConfirmation.get()) {
        PostController::clickedButtonAtIndex(alertView, buttonIndex);
        return;
    }
    m_deleteConfirmation.reset();
    if (buttonIndex != 1)
        return;
    Post::deletePosts(m_selection.ids(), reloadOnFailure());
    const QString by = context().currentUser()->username();
    for (const PostPtr& post : m_selection.items()) {
        post->setDel_username(by);
        post->setDeleted(true);
    }
    selectionDone();
}

void PostModerateController::clickedButtonAtIndex(ActionSheet* actionSheet, int buttonIndex)
{
    if (actionSheet != m_moveAction.data())
        return;
    m_moveAction = nullptr;
    if (buttonIndex == 1)
        m_status = CopyStatus;
    else if (buttonIndex != 0)
        return;
    ModerationBar::pickForum(context(), this, this);
}

bool PostModerateController::forumWasSelected(const ForumPtr& destination)
{
    if (!destination || !m_mover)
        return true;
    m_mover->setForum(destination);
    auto prompt = std::make_shared<InsertTextController>();
    prompt->setDelegate(this);
    prompt->setTitleText(localized("thread_new_title"));
    if (NavigationController* navigation = navigationController())
        navigation->pushViewController(prompt, true);
    return false;
}

void PostModerateController::selectForumWasCancelled()
{
    removeSupportingScreens();
}

void PostModerateController::textWasInserted(InsertTextController* controller)
{
    if (m_mover && controller) {
        m_mover->setTitle(controller->text());
        if (m_mover->forum()) {
            m_moveSent = true;
            if (m_status == CopyStatus)
                m_mover->copy();
            else
                m_mover->move();
        }
    }
    removeSupportingScreens();
}

void PostModerateController::removeSupportingScreens()
{
    if (NavigationController* navigation = navigationController())
        navigation->popToViewController(this, true);
}

void PostModerateController::selectionDone()
{
    m_selection.clear();
    updateActionItems();
    if (postTable())
        postTable()->reloadData();
}

void PostModerateController::reloadPage()
{
    if (isViewLoaded() && postTable())
        postTable()->refreshModel();
}

Post::Done PostModerateController::reloadOnFailure()
{
    const std::weak_ptr<ViewController> weakSelf = weak_from_this();
    return [weakSelf](const std::optional<Error>& failure) {
        if (!failure)
            return;
        ConnectionError::showMessage(*failure);
        if (const auto self = std::dynamic_pointer_cast<PostModerateController>(weakSelf.lock()))
            self->reloadPage();
    };
}

// ---- The mover

void PostModerateController::modelHasChanged(Model* model)
{
    if (m_mover && model == m_mover.get()) {
        // The posts went to their new thread: this page as the forum has it now.
        if (m_moveSent) {
            m_moveSent = false;
            reloadPage();
        }
        return;
    }
    if (thread() && model == thread().get())
        followSelection();
    PostController::modelHasChanged(model);
}

bool PostModerateController::modelHasFailedToUpdate(Model* model, const Error& error)
{
    if (m_mover && model == m_mover.get()) {
        ConnectionError::showMessage(error);
        if (m_moveSent) {
            m_moveSent = false;
            reloadPage();
        }
        return true;
    }
    return PostController::modelHasFailedToUpdate(model, error);
}

#include "forum/screens/ThreadModerateController.h"

#include "app/session/AppContext.h"

#include "forum/cells/SelectThreadCell.h"
#include "forum/cells/SubforumsHeader.h"
#include "forum/cells/ThreadCell.h"
#include "forum/model/Post.h"
#include "forum/screens/ModerationBar.h"

#include "app/config/ConnectionError.h"
#include "app/session/CurrentUser.h"
#include "app/widgets/LoadCellNib.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/ShadowedTableView.h"
#include "app/widgets/TabBarHidding.h"

#include "platform/ui/NavigationItem.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Localized.h"
#include "platform/foundation/TextFormat.h"

ThreadModerateController::ThreadModerateController(AppContext& context) : ThreadController(context) {}

ThreadModerateController::~ThreadModerateController()
{
    for (ActionSheet* sheet : {m_deleteAction.data(), m_moveAction.data()}) {
        if (sheet)
            sheet->setDelegate(nullptr);
    }
}

QList<TabBarItemPtr> ThreadModerateController::makeActionItems()
{
    m_deleteBtn = ModerationBar::item("delete", "tab_delete.png", DeleteStatus);
    m_closeBtn = ModerationBar::item("close", "tab_close.png", CloseStatus);
    m_moveBtn = ModerationBar::item("tabbar_move", "tab_move.png", MoveStatus);
    m_approvedBtn = ModerationBar::item("approve", "tab_approve.png", ApproveStatus);
    m_stickBtn = ModerationBar::item("stick", "tab_stick.png", StickStatus);
    return {m_deleteBtn, m_closeBtn, m_moveBtn, m_approvedBtn, m_stickBtn};
}

void ThreadModerateController::viewDidLoad()
{
    ThreadController::viewDidLoad();
    if (forum())
        modelHasChanged(forum().get());
    if (header())
        header()->setShowChilds(false);
    navigationItem()->setRightBarButtonItem(nullptr);
    updateActionItems();
}

void ThreadModerateController::viewWillAppear(bool animated)
{
    UIViewControllerCommon::viewWillAppear(animated);
    // Back from a sheet or the forum picker: the choice as it stands, nothing asked.
    if (!m_selection.isEmpty() && threadTable())
        threadTable()->reloadData();
}

void ThreadModerateController::updateActionItems()
{
    TabBarHidding* bar = actions();
    if (!bar)
        return;
    m_deleteBtn->setTitle(localized(isDeleting() ? "delete" : "undelete"));
    m_closeBtn->setTitle(localized(isClosing() ? "close" : "open"));
    m_moveBtn->setTitle(localized("tabbar_move"));
    m_approvedBtn->setTitle(localized(isApproving() ? "approve" : "unapprove"));
    m_stickBtn->setTitle(localized(isSticking() ? "stick" : "unstick"));
    // Only the forum's permissions decide; the thread list's own rules do not.
    const ForumPtr& shown = forum();
    const auto show = [bar](int index, bool allowed) {
        if (allowed)
            bar->showButtonAtIndex(index);
        else
            bar->hideButtonAtIndex(index);
    };
    show(DeleteStatus, shown && (shown->canDeleteThreads() || shown->canDeleteThreadsAsSpam()));
    show(CloseStatus, shown && shown->canOpenCloseThread());
    show(MoveStatus, shown && shown->canMoveThread());
    show(ApproveStatus, shown && shown->canApproveUnapproveThread());
    show(StickStatus, shown && shown->canStickThread());
    bar->setHidden(false);
    bar->itemsChanged();
}

void ThreadModerateController::modelHasChanged(Model* model)
{
    if (forum() && model == forum().get())
        followSelection();
    ThreadController::modelHasChanged(model);
}

// ---- The choice

bool ThreadModerateController::isSelected(const Thread& thread) const
{
    return m_selection.contains(thread);
}

bool ThreadModerateController::isDeleting() const
{
    return m_selection.noneHas(&Thread::deleted);
}

bool ThreadModerateController::isClosing() const
{
    return m_selection.noneHas(&Thread::isClosed);
}

bool ThreadModerateController::isApproving() const
{
    return m_selection.noneHas(&Thread::isApproved);
}

bool ThreadModerateController::isSticking() const
{
    return m_selection.noneHas(&Thread::isSticky);
}

QStringList ThreadModerateController::selectedThreadsId() const
{
    return m_selection.idTexts();
}

void ThreadModerateController::followSelection()
{
    if (!forum())
        return;
    QList<ThreadPtr> shown = forum()->stickies();
    shown.append(ModerationSelection<Thread>::rowsOf(forum()->pages()));
    m_selection.follow(shown);
}

TableViewCell* ThreadModerateController::cellForObject(PaginableTableView* tableView, const ModelPtr& object)
{
    const auto thread = std::dynamic_pointer_cast<Thread>(object);
    if (!thread || thread->isAnnouncement())
        return ThreadController::cellForObject(tableView, object);
    SelectThreadCell* cell = loadCellNibForTableView<SelectThreadCell>(tableView->tableView());
    cell->setThread(thread);
    cell->setSelectedThread(isSelected(*thread));
    return cell;
}

void ThreadModerateController::didSelectCell(TableViewCell* cell, const ModelPtr& object)
{
    // Announcements and subforums are no threads to act on.
    const auto thread = std::dynamic_pointer_cast<Thread>(object);
    if (!thread || thread->isAnnouncement())
        return;
    const bool chosen = m_selection.toggle(thread);
    if (auto* row = qobject_cast<SelectThreadCell*>(cell))
        row->setSelectedThread(chosen);
    updateActionItems();
}

// ---- The actions

void ThreadModerateController::didSelectItem(TabBar*, const TabBarItemPtr& item)
{
    const int index = ModerationBar::takePressed(actions(), item);
    if (index < DeleteStatus || index > StickStatus)
        return;
    m_status = Status(index);
    if (m_selection.isEmpty()) {
        ModerationBar::askForChoice("please_select_t_con");
        return;
    }
    switch (m_status) {
    case DeleteStatus:
        if (!isDeleting()) {
            confirm("undelete");
        } else if (forum() && !forum()->canDeleteThreads()) {
            m_isSpam = true;
            confirm("delete");
        } else if (forum() && !forum()->canDeleteThreadsAsSpam()) {
            m_isSpam = false;
            confirm("delete");
        } else {
            m_deleteAction = new ActionSheet(QString(), this, localized("cancel"), localized("delete_thread"), {localized("delete_as_spam")});
            m_deleteAction->showInView(view());
        }
        break;
    case CloseStatus:
        confirm(isClosing() ? "close" : "open");
        break;
    case MoveStatus: {
        QStringList choices{localized("move_thread")};
        if (m_selection.size() == 1)
            choices.append(localized("copy_thread"));
        m_moveAction = new ActionSheet(QString(), this, localized("cancel"), QString(), choices);
        m_moveAction->showInView(view());
        break;
    }
    case ApproveStatus:
        confirm(isApproving() ? "approve" : "unapprove");
        break;
    case StickStatus:
        confirm(isSticking() ? "stick" : "unstick");
        break;
    case CopyStatus:
        break;
    }
}

void ThreadModerateController::confirm(const char* wordKey)
{
    m_confirmation = AlertView::create(QString(), TextFormat::fill(localized("are_you_sure_thread"), {Value(localized(wordKey))}),
                                       this, {localized("no"), localized("ok")});
    m_confirmation->show();
}

void ThreadModerateController::clickedButtonAtIndex(ActionSheet* actionSheet, int buttonIndex)
{
    if (actionSheet == m_deleteAction.data()) {
        m_deleteAction = nullptr;
        if (buttonIndex != 0 && buttonIndex != 1)
            return;
        m_isSpam = buttonIndex == 1;
        confirm(isDeleting() ? "tabbar_delete" : "tabbar_undelete");
    } else if (actionSheet == m_moveAction.data()) {
        m_moveAction = nullptr;
        // A copy only ever of one thread.
        if (buttonIndex == 1 && m_selection.size() == 1)
            m_status = CopyStatus;
        else if (buttonIndex != 0)
            return;
        ModerationBar::pickForum(context(), this, this);
    }
}

bool ThreadModerateController::forumWasSelected(const ForumPtr& destination)
{
    if (!destination || m_selection.isEmpty())
        return true;
    const QList<qint32> ids = m_selection.ids();
    // Both tell their outcome themselves. A move asks again for both forums
    // whatever its outcome, this list included: nothing more to ask here.
    if (m_status == CopyStatus)
        Thread::copy(ids, forum(), destination, reloadOnFailure(false));
    else
        Thread::move(ids, forum(), destination, nullptr);
    selectionDone();
    return true;
}

void ThreadModerateController::clickedButtonAtIndex(AlertView* alertView, int buttonIndex)
{
    if (!m_confirmation || alertView != m_confirmation.get()) {
        ThreadController::clickedButtonAtIndex(alertView, buttonIndex);
        return;
    }
    m_confirmation.reset();
    if (buttonIndex == 1)
        applyConfirmed();
    else if (threadTable())
        threadTable()->reloadData();
}

void ThreadModerateController::applyConfirmed()
{
    const QList<qint32> ids = m_selection.ids();
    // The rows change at once, as the forum is asked.
    switch (m_status) {
    case CloseStatus: {
        const bool closing = isClosing();
        for (const ThreadPtr& thread : m_selection.items())
            thread->setClosed(closing);
        (closing ? Thread::close : Thread::open)(ids, reloadOnFailure(true));
        break;
    }
    case ApproveStatus: {
        const bool approving = isApproving();
        for (const ThreadPtr& thread : m_selection.items())
            thread->setApproved(approving);
        (approving ? Thread::approve : Thread::unapprove)(ids, reloadOnFailure(true));
        break;
    }
    case StickStatus: {
        const bool sticking = isSticking();
        for (const ThreadPtr& thread : m_selection.items())
            thread->setStickyFlag(sticking);
        (sticking ? Thread::stick : Thread::unstick)(ids, reloadOnFailure(true));
        break;
    }
    case DeleteStatus:
        if (isDeleting()) {
            for (const ThreadPtr& thread : m_selection.items()) {
                thread->setDeleted(true);
                if (!m_isSpam)
                    markPosts(*thread, true);
            }
            (m_isSpam ? Thread::deleteAsSpam : Thread::deleteThreads)(ids, reloadOnFailure(true));
        } else {
            for (const ThreadPtr& thread : m_selection.items()) {
                thread->setDeleted(false);
                markPosts(*thread, false);
            }
            Thread::undelete(ids, reloadOnFailure(true));
        }
        break;
    case MoveStatus:
    case CopyStatus:
        return;
    }
    selectionDone();
}

void ThreadModerateController::markPosts(const Thread& thread, bool deleted) const
{
    const QString by = deleted ? context().currentUser()->username() : QString();
    for (const ModelWithPages::Page& page : thread.pages()) {
        for (const ModelPtr& row : page) {
            if (const auto post = std::dynamic_pointer_cast<Post>(row)) {
                post->setDel_username(by);
                post->setDeleted(deleted);
            }
        }
    }
}

void ThreadModerateController::selectionDone()
{
    m_selection.clear();
    updateActionItems();
    if (threadTable())
        threadTable()->reloadData();
}

Thread::Done ThreadModerateController::reloadOnFailure(bool showFailure)
{
    const std::weak_ptr<ViewController> weakSelf = weak_from_this();
    return [weakSelf, showFailure](const std::optional<Error>& failure) {
        if (!failure)
            return;
        if (showFailure)
            ConnectionError::showMessage(*failure);
        const auto self = std::dynamic_pointer_cast<ThreadModerateController>(weakSelf.lock());
        if (self && self->isViewLoaded() && self->threadTable())
            self->threadTable()->refreshModel();
    };
}

#pragma once

#include "forum/model/Thread.h"
#include "forum/screens/ModerationSelection.h"
#include "forum/screens/SelectForumDelegate.h"
#include "forum/screens/ThreadController.h"

#include "platform/ui/ActionSheet.h"

#include <QList>
#include <QPointer>
#include <QStringList>

#include <memory>

class AppContext;

// A forum's thread list turned into a choice of threads for a moderator,
// with a bar of five actions on the chosen threads: delete or undelete (also
// as spam), close or open, move or copy to another forum, approve or
// unapprove, stick or unstick. Each item shows only where the forum lets the
// moderator do it, and reads what it will do to the threads chosen. The
// rows change at once; an action the forum refused shows why once, and the
// page is loaded again as the forum has it.
class ThreadModerateController : public ThreadController, public ActionSheetDelegate, public SelectForumDelegate {
public:
    // The action in hand: the items' places, and the copy.
    enum Status { DeleteStatus = 0, CloseStatus = 1, MoveStatus = 2, ApproveStatus = 3, StickStatus = 4, CopyStatus = 5 };

    explicit ThreadModerateController(AppContext& context);
    ~ThreadModerateController() override;

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void modelHasChanged(Model* model) override;

    TableViewCell* cellForObject(PaginableTableView* tableView, const ModelPtr& object) override;
    void didSelectCell(TableViewCell* cell, const ModelPtr& object) override;
    void didSelectItem(TabBar* tabBar, const TabBarItemPtr& item) override;
    void clickedButtonAtIndex(AlertView* alertView, int buttonIndex) override;
    void clickedButtonAtIndex(ActionSheet* actionSheet, int buttonIndex) override;
    // Where the chosen threads move or are copied to; the picker closes.
    bool forumWasSelected(const ForumPtr& destination) override;

    // Over the chosen threads; each true while none is chosen.
    bool isDeleting() const;
    bool isClosing() const;
    bool isApproving() const;
    bool isSticking() const;
    QStringList selectedThreadsId() const;
    const QList<ThreadPtr>& selectedThreads() const { return m_selection.items(); }
    bool isSelected(const Thread& thread) const;

    const TabBarItemPtr& deleteBtn() const { return m_deleteBtn; }
    const TabBarItemPtr& closeBtn() const { return m_closeBtn; }
    const TabBarItemPtr& moveBtn() const { return m_moveBtn; }
    const TabBarItemPtr& approvedBtn() const { return m_approvedBtn; }
    const TabBarItemPtr& stickBtn() const { return m_stickBtn; }
    Status status() const { return m_status; }
    bool isSpam() const { return m_isSpam; }
    // The sheet or the question on screen, if any.
    ActionSheet* deleteAction() const { return m_deleteAction.data(); }
    ActionSheet* moveAction() const { return m_moveAction.data(); }
    AlertView* confirmation() const { return m_confirmation.get(); }

protected:
    QList<TabBarItemPtr> makeActionItems() override;
    void updateActionItems() override;

private:
    // Asks "are you sure" with the action's word in it.
    void confirm(const char* wordKey);
    // The action confirmed, on the chosen threads.
    void applyConfirmed();
    // What a thread action hears of its answer: a refusal is shown once
    // (unless the action shows its own), and the page comes again as the
    // forum has it.
    Thread::Done reloadOnFailure(bool showFailure);
    void selectionDone();
    // The chosen threads, as the list now holds them (a reload brings new ones).
    void followSelection();
    // Every post the thread has loaded, deleted or not.
    void markPosts(const Thread& thread, bool deleted) const;

    ModerationSelection<Thread> m_selection{[](const Thread& thread) { return thread.threadid(); }};
    TabBarItemPtr m_deleteBtn;
    TabBarItemPtr m_closeBtn;
    TabBarItemPtr m_moveBtn;
    TabBarItemPtr m_approvedBtn;
    TabBarItemPtr m_stickBtn;
    QPointer<ActionSheet> m_deleteAction;
    QPointer<ActionSheet> m_moveAction;
    std::shared_ptr<AlertView> m_confirmation;
    Status m_status = DeleteStatus;
    bool m_isSpam = false;
};

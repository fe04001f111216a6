#include "forum/screens/WritingButton.h"

#include "app/session/CurrentUser.h"

#include "platform/ui/NavigationItem.h"

void WritingButton::place(ViewController& screen, const CurrentUser& user, bool writable,
                          const std::function<std::shared_ptr<BarButtonItem>()>& make)
{
    const bool shown = writable && user.isMember();
    NavigationItem* item = screen.navigationItem();
    if (shown == bool(item->rightBarButtonItem()))
        return;
    item->setRightBarButtonItem(shown ? make() : nullptr);
}

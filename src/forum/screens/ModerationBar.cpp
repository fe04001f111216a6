#include "forum/screens/ModerationBar.h"

#include "forum/screens/SelectForumController.h"

#include "app/widgets/TabBarHidding.h"

#include "platform/ui/NavigationController.h"
#include "platform/ui/ResourceImages.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Localized.h"

TabBarItemPtr ModerationBar::item(const char* titleKey, const char* picture, int index)
{
    return std::make_shared<TabBarItem>(localized(titleKey), ResourceImages::named(QString::fromLatin1(picture)), index);
}

int ModerationBar::takePressed(TabBarHidding* bar, const TabBarItemPtr& item)
{
    if (!bar)
        return -1;
    const int index = bar->initialIndexOfItem(item);
    bar->setSelectedItem(nullptr);
    return index;
}

void ModerationBar::askForChoice(const char* messageKey)
{
    AlertView::create(QString(), localized(messageKey), nullptr, {localized("ok")})->show();
}

void ModerationBar::pickForum(AppContext& context, ViewController* screen, SelectForumDelegate* delegate)
{
    auto picker = std::make_shared<SelectForumController>(context);
    picker->setDelegate(delegate);
    if (NavigationController* navigation = screen ? screen->navigationController() : nullptr)
        navigation->pushViewController(picker, true);
}

#include "app/widgets/FieldLinkCell.h"

#include "app/model/FieldLink.h"
#include "app/widgets/FieldLinkPage.h"
#include "platform/ui/ViewControllerRegistry.h"
#include "app/widgets/Form.h"

#include "platform/ui/Button.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ViewController.h"

Label* FieldLinkCell::title() const
{
    return field()->titleLabel();
}

void FieldLinkCell::fill()
{
    const Field* link = callback();
    showTitle(link ? link->label() : QString());
}

void FieldLinkCell::openLink()
{
    const auto link = fieldAs<FieldLink>();
    Form* f = form();
    ViewController* screen = f ? f->controller() : nullptr;
    NavigationController* navigation = screen ? screen->navigationController() : nullptr;
    if (!link || !navigation)
        return;
    endTextEditing();
    // The page is a screen: made by its class name, given the link.
    const ViewControllerPtr page = ViewControllerRegistry::create(QStringLiteral("FieldLinkDetails"));
    if (auto* shown = dynamic_cast<FieldLinkPage*>(page.get())) {
        shown->setPage(link->label(), link->html());
        navigation->pushViewController(page, true);
    }
}

#include "app/widgets/FieldLinkCell.h"

#include "app/model/FieldLink.h"
#include "app/screens/FieldLinkDetails.h"
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
    auto page = std::make_shared<FieldLinkDetails>(link->label(), link->html());
    navigation->pushViewController(page, true);
}

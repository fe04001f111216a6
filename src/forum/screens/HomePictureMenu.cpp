#include "forum/screens/HomePictureMenu.h"

#include "app/session/AppContext.h"
#include "app/session/AvatarBuilder.h"
#include "app/session/CurrentUser.h"

#include "platform/ui/ViewController.h"

#include "platform/foundation/Localized.h"

HomePictureMenu::HomePictureMenu(AppContext& context, ViewController* screen) : m_context(context), m_screen(screen) {}

HomePictureMenu::~HomePictureMenu()
{
    if (m_selector)
        m_selector->setDelegate(nullptr);
}

void HomePictureMenu::open()
{
    if (!m_context.currentUser()->avatarurl().isEmpty())
        showDeleteMenu();
    else
        showPicker();
}

void HomePictureMenu::showDeleteMenu()
{
    ViewController* screen = m_screen.get();
    if (!screen)
        return;
    auto* menu = new ActionSheet(QString(), this, localized("cancel"), localized("home_avatar_delete"), {localized("home_avatar_change")});
    menu->setObjectName(QStringLiteral("pictureMenu"));
    m_menu = menu;
    menu->showInView(screen->view());
}

void HomePictureMenu::clickedButtonAtIndex(ActionSheet* actionSheet, int buttonIndex)
{
    if (actionSheet != m_menu.data())
        return;
    if (buttonIndex == 0)
        m_context.currentUser()->deleteAvatar();
    else if (buttonIndex == 1)
        showPicker();
}

void HomePictureMenu::showPicker()
{
    ViewController* screen = m_screen.get();
    if (!screen)
        return;
    if (m_selector)
        m_selector->setDelegate(nullptr);
    m_selector = std::make_shared<SelectImage>();
    m_selector->setMediaType(SelectImage::kMediaTypeImage);
    m_selector->setController(screen);
    m_selector->setDelegate(this);
    m_selector->showInView(screen->view());
}

void HomePictureMenu::imageWasSelected(const std::shared_ptr<ImageToUpload>& image, SelectImage*)
{
    auto builder = Model::create<AvatarBuilder>();
    // A refusal is told once, through the upload.
    m_builderObservation.observe(builder, this);
    builder->setTheNewAvatar(image);
    builder->upload();
}

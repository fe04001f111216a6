#include "forum/screens/HomePictureMenu.h"

#include "app/session/AvatarBuilder.h"
#include "app/session/CurrentUser.h"

#include "platform/ui/ViewController.h"

#include "platform/foundation/Bundle.h"

namespace {

QString text(const char* key)
{
    return Bundle::main().localizedString(QString::fromLatin1(key));
}

}  // namespace

HomePictureMenu::HomePictureMenu(ViewController* screen) : m_screen(screen) {}

HomePictureMenu::~HomePictureMenu()
{
    if (m_selector)
        m_selector->setDelegate(nullptr);
    if (const auto builder = m_builder.lock())
        builder->removeObserver(this);
}

void HomePictureMenu::open()
{
    if (!CurrentUser::currentUser()->avatarurl().isEmpty())
        showDeleteMenu();
    else
        showPicker();
}

void HomePictureMenu::showDeleteMenu()
{
    ViewController* screen = m_screen.get();
    if (!screen)
        return;
    auto* menu = new ActionSheet(QString(), this, text("cancel"), text("home_avatar_delete"), {text("home_avatar_change")});
    menu->setObjectName(QStringLiteral("pictureMenu"));
    m_menu = menu;
    menu->showInView(screen->view());
}

void HomePictureMenu::clickedButtonAtIndex(ActionSheet* actionSheet, int buttonIndex)
{
    if (actionSheet != m_menu.data())
        return;
    if (buttonIndex == 0)
        CurrentUser::currentUser()->deleteAvatar();
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
    builder->addObserver(this);
    if (const auto previous = m_builder.lock())
        previous->removeObserver(this);
    m_builder = builder;
    builder->setTheNewAvatar(image);
    builder->upload();
}

#include "app/screens/GlobalNavigationViewController.h"

#include "app/model/Config.h"
#include "app/config/ConnectionError.h"
#include "app/config/Customizer.h"
#include "app/screens/GlobalNavigationPanel.h"
#include "app/screens/RootNavigation.h"
#include "app/session/AppContext.h"
#include "app/session/CurrentUser.h"
#include "app/widgets/RoundedRectView.h"

#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ViewControllerRegistry.h"

#include "platform/foundation/ClassName.h"
#include "platform/foundation/Localized.h"
#include "platform/foundation/TextFormat.h"

#include <QPainter>
#include <QPainterPath>
#include <QPointer>

#include <typeinfo>

namespace {

// One line of the menu: a white title on the panel, lit while pressed, a
// faint rule above it.
class MenuEntryButton : public Button {
public:
    explicit MenuEntryButton(const QRectF& frame) : Button(frame, ButtonType::Custom)
    {
        setBackgroundColor(Qt::transparent);
        setOpaque(false);
        setTitleColor(Qt::white);
        setTitleShadowColor(QColor(0, 0, 0, 90));
        titleLabel()->setShadowOffset(QSizeF(0, -1));
        titleLabel()->setFont(Font::fontWithName(QStringLiteral("HelveticaNeue-Bold"), 16));
    }

    void drawRect(QPainter& painter, const QRectF& rect) override
    {
        const QRectF b = bounds();
        if (isHighlighted()) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(255, 255, 255, 60));
            painter.drawRoundedRect(b.adjusted(0, 1, 0, 0), 6, 6);
        }
        painter.setPen(QPen(QColor(255, 255, 255, 55), 1));
        painter.drawLine(QPointF(b.left() + 4, b.top() + 0.5), QPointF(b.right() - 4, b.top() + 0.5));
        Button::drawRect(painter, rect);
    }
};

constexpr qreal kPanelWidth = 260;
constexpr qreal kTitleHeight = 40;
constexpr qreal kPanelPadding = 8;

}  // namespace

GlobalNavigationViewController::GlobalNavigationViewController(AppContext& context) : m_context(context)
{
    setPreferredViewFrame(QRectF(0, 20, 320, 480));
}

GlobalNavigationViewController::~GlobalNavigationViewController() = default;

Button* GlobalNavigationViewController::addEntry(const char* titleKey, int tag,
                                                 void (GlobalNavigationViewController::*action)())
{
    const int index = int(m_menu->subviews().size()) - 1;  // after the title
    auto* button = new MenuEntryButton(
        QRectF(kPanelPadding, kTitleHeight + index * kEntryHeight, kPanelWidth - 2 * kPanelPadding, kEntryHeight));
    button->setTag(tag);
    button->setTitle(localized(titleKey), ControlState::Normal);
    button->addTarget(this, action, ControlEvent::TouchUpInside);
    m_menu->addSubview(button);
    return button;
}

void GlobalNavigationViewController::buildNib(View* root)
{
    root->setBackgroundColor(QColor(0, 0, 0, 90));
    root->setOpaque(false);

    m_menu = new GlobalNavigationPanel(QRectF(30, 50, kPanelWidth, kTitleHeight + 11 * kEntryHeight + kPanelPadding));
    m_menu->setOnEscape([this] { cancel(); });
    m_menu->setOnArrow([this] { markEntry(); });
    root->addSubview(m_menu);

    m_lblTitle = new Label(QRectF(kPanelPadding, 6, kPanelWidth - 2 * kPanelPadding, 28));
    m_lblTitle->setTag(AlwaysShown);
    m_lblTitle->setFont(Font::fontWithName(QStringLiteral("HelveticaNeue-Bold"), 18));
    m_lblTitle->setTextColor(Qt::white);
    m_lblTitle->setShadowColor(QColor(0, 0, 0, 110));
    m_lblTitle->setShadowOffset(QSizeF(0, -1));
    m_lblTitle->setTextAlignment(TextAlignment::Center);
    m_lblTitle->setBackgroundColor(Qt::transparent);
    m_lblTitle->setOpaque(false);
    m_menu->addSubview(m_lblTitle);

    using G = GlobalNavigationViewController;
    m_homeButton = addEntry("nav_home", AlwaysShown, &G::gotoHomeScreen);
    m_forumsButton = addEntry("nav_forums", AlwaysShown, &G::gotoForumHomeScreen);
    m_articlesButton = addEntry("nav_articles", ArticlesFeature, &G::gotoArticles);
    m_blogsButton = addEntry("nav_blogs", BlogsFeature, &G::gotoBlogHomeScreen);
    m_messagesButton = addEntry("nav_messages", MessagesFeature, &G::gotoPrivateMessages);
    m_notificationsButton = addEntry("nav_notifications", MembersOnly, &G::gotoNotifications);
    m_myprofileButton = addEntry("nav_myprofile", MembersOnly, &G::gotoMyProfile);
    m_friendsButton = addEntry("nav_friends", FriendsFeature, &G::gotoFriends);
    m_photosButton = addEntry("nav_photos", PhotosFeature, &G::gotoPhotos);
    m_searchButton = addEntry("nav_search", SearchFeature, &G::gotoSearch);
    m_cancelButton = addEntry("cancel", AlwaysShown, &G::cancel);

    m_entryClasses = {
        {m_homeButton, QStringLiteral("HomeController")},
        {m_forumsButton, QStringLiteral("ForumController")},
        {m_articlesButton, QStringLiteral("ArticleListController")},
        {m_blogsButton, QStringLiteral("BlogHomeScreenViewController")},
        {m_messagesButton, QStringLiteral("PrivateMessagesController")},
        {m_notificationsButton, QStringLiteral("NotificationsController")},
        {m_myprofileButton, QStringLiteral("ProfileController")},
        {m_friendsButton, QStringLiteral("FriendsController")},
        {m_photosButton, QStringLiteral("AlbumController")},
        {m_searchButton, QStringLiteral("SearchController")},
    };

    // The count rides on the messages entry, at its right end.
    m_numberOfMessages = new Label(QRectF(m_messagesButton->frame().width() - 62, 0, 54, kEntryHeight));
    m_numberOfMessages->setFont(Font::fontWithName(QStringLiteral("HelveticaNeue-Bold"), 15));
    m_numberOfMessages->setTextColor(QColor(0xFF, 0xE0, 0x7A));
    m_numberOfMessages->setTextAlignment(TextAlignment::Right);
    m_numberOfMessages->setBackgroundColor(Qt::transparent);
    m_numberOfMessages->setOpaque(false);
    m_numberOfMessages->setUserInteractionEnabled(false);
    m_messagesButton->addSubview(m_numberOfMessages);
}

void GlobalNavigationViewController::viewDidLoad()
{
    ViewController::viewDidLoad();
    Customizer& theme = Customizer::getInstance();
    m_menu->setStrokeColor(Qt::black);
    m_menu->setRectColor(theme.colorForKey(kColorBackgroundButton));
    m_menu->setCornerRadius(kCornerRadius);
    view()->setFrame(QRectF(0, 20, 320, 480));
    m_lblTitle->setText(theme.appLabel());
    pulse();

    m_source = m_context.existingPart<UnreadMessagesSource>();
    if (m_source) {
        if (const std::shared_ptr<Model> info = m_source->sharedModel()) {
            m_forumInfo = info;
            modelHasChanged(info.get());
            m_forumInfoObservation.observe(info, this);
        }
    }
    applyGating();
}

bool GlobalNavigationViewController::isTagShown(int tag) const
{
    const bool signedIn = m_context.currentUser()->isMember();
    if (!signedIn && (tag == MessagesFeature || tag == PhotosFeature || tag == FriendsFeature))
        return false;
    if (tag >= 1 && !m_context.config().isFeatureEnabled(tag))
        return false;
    if (tag < 0 && !signedIn)
        return false;
    return true;
}

void GlobalNavigationViewController::applyGating()
{
    // Hidden entries leave no gap: the later ones move up and the panel
    // shrinks by as much.
    qreal shift = 0;
    for (View* entry : m_menu->subviews()) {
        if (shift > 0) {
            QRectF f = entry->frame();
            f.translate(0, -shift);
            entry->setFrame(f);
        }
        bool shown = isTagShown(entry->tag());
        for (const auto& [button, className] : std::as_const(m_entryClasses)) {
            if (button == entry && !ViewControllerRegistry::isRegistered(className))
                shown = false;
        }
        if (!shown) {
            entry->setHidden(true);
            shift += entry->frame().height();
        }
    }
    QRectF panel = m_menu->frame();
    panel.setHeight(panel.height() - shift);
    m_menu->setFrame(panel);
}

void GlobalNavigationViewController::showCount(std::optional<int> count)
{
    if (!m_numberOfMessages)
        return;
    m_numberOfMessages->setText(count && *count != 0 ? TextFormat::fill(QStringLiteral("(%d)"), {Value(*count)})
                                                     : QString());
}

void GlobalNavigationViewController::modelHasChanged(Model* model)
{
    if (!m_source)
        return;
    if (const std::optional<int> count = m_source->unreadPrivateMessages(model))
        showCount(count);
}

bool GlobalNavigationViewController::modelHasFailedToUpdate(Model* model, const Error& error)
{
    ConnectionError::showMessage(error);
    if (m_source && m_source->unreadPrivateMessages(model))
        showCount(std::nullopt);
    return true;
}

Model* GlobalNavigationViewController::observedModel() const
{
    return m_forumInfo.lock().get();
}

void GlobalNavigationViewController::stopObserving()
{
    // Only the very model observed, if it still lives: the shared one may
    // have been replaced since.
    m_forumInfoObservation.reset();
    m_forumInfo.reset();
}

bool GlobalNavigationViewController::isOpen() const
{
    return isViewLoaded() && const_cast<GlobalNavigationViewController*>(this)->view()->superview();
}

void GlobalNavigationViewController::takeKeyboard(QWidget* before)
{
    if (!isOpen())
        return;
    m_focusBefore = before;
    m_menu->watchWindow(view()->window());
    markEntry();
}

void GlobalNavigationViewController::markEntry()
{
    NavigationController* navigation = RootNavigation::controller();
    ViewController* visible = navigation ? navigation->visibleViewController() : nullptr;
    const QString section = visible ? className(*visible) : QString();
    Button* marked = nullptr;
    for (const auto& [button, screenClass] : std::as_const(m_entryClasses)) {
        if (!button->isHidden() && !marked)
            marked = button;
        if (!button->isHidden() && screenClass == section) {
            marked = button;
            break;
        }
    }
    if (marked)
        Keyboard::giveFocus(marked);
}

void GlobalNavigationViewController::close()
{
    if (m_menu)
        m_menu->watchWindow(nullptr);
    if (isViewLoaded())
        view()->removeFromSuperview();
    stopObserving();
}

void GlobalNavigationViewController::cancel()
{
    const bool wasOpen = isOpen();
    close();
    // Only where the menu was open: a screen going with its menu gone
    // already gives nothing back.
    QWidget* before = m_focusBefore.data();
    m_focusBefore.clear();
    if (wasOpen && before && before->isVisible() && before->isEnabled())
        before->setFocus(Qt::OtherFocusReason);
}

void GlobalNavigationViewController::touchesEnded(const QPointF& point)
{
    // A tap beside the panel closes the menu, as its cancel entry does.
    if (m_menu && !m_menu->frame().contains(point))
        cancel();
}

void GlobalNavigationViewController::goToViewController(const ViewControllerPtr& controller)
{
    close();
    if (!controller)
        return;
    NavigationController* navigation = RootNavigation::controller();
    ViewController* visible = navigation ? navigation->visibleViewController() : nullptr;
    // The section already on screen stays as it is.
    if (visible && typeid(*visible) == typeid(*controller))
        return;
    m_context.part<RootNavigation>()->setController(controller);
}

void GlobalNavigationViewController::openSection(const QString& className)
{
    goToViewController(ViewControllerRegistry::create(className));
}

void GlobalNavigationViewController::gotoHomeScreen()
{
    NavigationController* navigation = RootNavigation::controller();
    ViewController* visible = navigation ? navigation->visibleViewController() : nullptr;
    if (visible && className(*visible) == QStringLiteral("HomeController")) {
        cancel();
        return;
    }
    const ViewControllerPtr home = ViewControllerRegistry::create(QStringLiteral("HomeController"));
    const ViewControllerPtr login = ViewControllerRegistry::create(QStringLiteral("LoginController"));
    if (!home || !login) {
        goToViewController(home);
        return;
    }
    // The home screen always stands on the login screen. When the login
    // screen is on top already it stays, and so does everything else.
    goToViewController(login);
    if (NavigationController* fresh = login->navigationController())
        fresh->pushViewController(home, true);
}

void GlobalNavigationViewController::gotoForumHomeScreen()
{
    openSection(QStringLiteral("ForumController"));
}

void GlobalNavigationViewController::gotoArticles()
{
    openSection(QStringLiteral("ArticleListController"));
}

void GlobalNavigationViewController::gotoBlogHomeScreen()
{
    openSection(QStringLiteral("BlogHomeScreenViewController"));
}

void GlobalNavigationViewController::gotoPrivateMessages()
{
    openSection(QStringLiteral("PrivateMessagesController"));
}

void GlobalNavigationViewController::gotoNotifications()
{
    openSection(QStringLiteral("NotificationsController"));
}

void GlobalNavigationViewController::gotoMyProfile()
{
    openSection(QStringLiteral("ProfileController"));
}

void GlobalNavigationViewController::gotoFriends()
{
    openSection(QStringLiteral("FriendsController"));
}

void GlobalNavigationViewController::gotoPhotos()
{
    openSection(QStringLiteral("AlbumController"));
}

void GlobalNavigationViewController::gotoSearch()
{
    openSection(QStringLiteral("SearchController"));
}

void GlobalNavigationViewController::pulse()
{
    QPointer<RoundedRectView> panel(m_menu);
    if (!panel)
        return;
    panel->setTransform(ViewTransform::makeScale(kPulseStartScale, kPulseStartScale));
    View::animate(
        kPulseDurations[0], [panel] { panel->setTransform(ViewTransform::identity()); },
        [panel](bool) {
            if (!panel)
                return;
            View::animate(
                kPulseDurations[1],
                [panel] { panel->setTransform(ViewTransform::makeScale(kPulseShrinkScale, kPulseShrinkScale)); },
                [panel](bool) {
                    if (panel)
                        View::animate(kPulseDurations[2], [panel] { panel->setTransform(ViewTransform::identity()); });
                });
        });
}

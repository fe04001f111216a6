#include "app/screens/MurmoraViewController.h"

#include "app/screens/GlobalNavigationViewController.h"
#include "app/screens/RootNavigation.h"
#include "app/widgets/FindAndResignFirstResponder.h"

#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/Window.h"

#include "platform/foundation/ClassName.h"

#include <QApplication>

MurmoraViewController::MurmoraViewController(AppContext& context) : m_context(context) {}

MurmoraViewController::~MurmoraViewController()
{
    if (m_globalNavigationView)
        m_globalNavigationView->cancel();
    m_globalNavigationView.reset();
    // The bar only shows the button; the screen owns it.
    if (Button* button = m_navButton.data()) {
        button->hide();
        button->setParent(nullptr);
        button->deleteLater();
    }
}

void MurmoraViewController::viewDidLoad()
{
    UIViewControllerCommon::viewDidLoad();
    createTopButton();
}

void MurmoraViewController::createTopButton()
{
    NavigationController* navigation = navigationController();
    const bool first = navigation && !navigation->viewControllers().isEmpty()
                       && navigation->viewControllers().first().get() == this;
    if (!first && className(*this) != QStringLiteral("HomeController"))
        return;
    if (!m_navButton) {
        auto* button = new Button(QRectF(), ButtonType::Custom);
        button->setTitle(getBarTitle(), ControlState::Normal);
        button->titleLabel()->setFont(Font::fontWithName(QStringLiteral("HelveticaNeue-Bold"), kButtonFontSize));
        button->setTitleColor(Qt::white);
        button->setTitleShadowColor(QColor(0, 0, 0, 110));
        button->setBackgroundImage(ResourceImages::named(QStringLiteral("bt_menu.png")), ControlState::Normal);
        button->addTarget(this, &MurmoraViewController::showGlobalNavigationView, ControlEvent::TouchUpInside);
        button->sizeToFit();
        button->setCenter(kButtonCenter);
        m_navButton = button;
    }
    // As the screen's title view the button shows only while its screen is on
    // top, never over a screen pushed above it.
    navigationItem()->setTitleView(m_navButton);
}

Button* MurmoraViewController::navButton() const
{
    return m_navButton.data();
}

QString MurmoraViewController::getBarTitle() const
{
    return QStringLiteral("must overWrite");
}

void MurmoraViewController::showGlobalNavigationView()
{
    if (m_globalNavigationView)
        m_globalNavigationView->cancel();
    m_globalNavigationView = std::make_shared<GlobalNavigationViewController>(m_context);
    Window* window = Window::keyWindow();
    if (!window)
        return;
    QWidget* before = QApplication::focusWidget();
    window->addSubview(m_globalNavigationView->view());
    // Whatever field was being edited gives the keyboard up to the menu.
    findAndResignFirstResponder(window);
    m_globalNavigationView->takeKeyboard(before);
}

void MurmoraViewController::pushController(const ViewControllerPtr& controller)
{
    if (NavigationController* navigation = RootNavigation::controller())
        navigation->pushViewController(controller, true);
}

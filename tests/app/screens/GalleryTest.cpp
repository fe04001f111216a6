#include "TestSupport.h"
#include "platform/ui/UiTestSupport.h"

#include "app/config/Customizer.h"
#include "app/screens/UIViewControllerCommon.h"
#include "app/widgets/GradientButton.h"
#include "app/widgets/RoundedRectView.h"
#include "app/widgets/SegmentControlHidding.h"
#include "app/widgets/ShadowedTableView.h"
#include "app/widgets/SizeToFitFixedWidth.h"
#include "app/widgets/TabBarHidding.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/Switch.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/WebView.h"

#include "platform/foundation/AlertView.h"

#include <QPainter>
#include <QPainterPath>

// Renders each widget on a phone screen to PNG files under the build folder
// (gallery/), to be looked at; checks that each picture was written and is
// not blank.
namespace {

using TestSupport::galleryPath;

// A tab picture drawn in code: its shape is what the tab bar shows.
QImage icon(int kind)
{
    QImage image(60, 60, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::black);
    p.setPen(QPen(Qt::black, 3));
    switch (kind) {
    case 0: {
        QPainterPath star;
        for (int i = 0; i < 10; ++i) {
            const qreal r = i % 2 ? 5.5 : 13;
            const qreal a = M_PI / 5 * i - M_PI / 2;
            const QPointF pt(15 + r * std::cos(a), 16 + r * std::sin(a));
            i == 0 ? star.moveTo(pt) : star.lineTo(pt);
        }
        star.closeSubpath();
        p.drawPath(star);
        break;
    }
    case 1:
        p.drawRoundedRect(QRectF(4, 6, 22, 16), 4, 4);
        p.drawPolygon(QPolygonF({QPointF(8, 21), QPointF(8, 27), QPointF(14, 21)}));
        break;
    case 2:
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(5, 5, 15, 15));
        p.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(18, 18), QPointF(26, 26));
        break;
    default:
        for (int i = 0; i < 3; ++i)
            p.drawRoundedRect(QRectF(5, 6 + i * 8, 20, 4), 2, 2);
        break;
    }
    return image;
}

struct Forum {
    QString title;
    QString detail;
};

// A screen as the forum list will be: sections with the theme's headers,
// rows with a title and counts, a tab bar of actions.
class ForumsScreen : public UIViewControllerCommon, public TableViewDataSource, public TableViewDelegate {
public:
    ForumsScreen() { setTitle(QStringLiteral("Forums")); }

    QList<QPair<QString, QList<Forum>>> sections{
        {QStringLiteral("General"),
         {{QStringLiteral("Announcements"), QStringLiteral("12 threads, 340 replies")},
          {QStringLiteral("Introductions"), QStringLiteral("86 threads, 1,204 replies")},
          {QStringLiteral("Off topic"), QStringLiteral("301 threads, 9,877 replies")}}},
        {QStringLiteral("Workshop"),
         {{QStringLiteral("Woodworking and joinery"), QStringLiteral("57 threads, 610 replies")},
          {QStringLiteral("Metal and welding"), QStringLiteral("23 threads, 145 replies")},
          {QStringLiteral("Tools for sale"), QStringLiteral("9 threads, 31 replies")}}},
        {QStringLiteral("Help"), {{QStringLiteral("Questions"), QStringLiteral("140 threads, 2,010 replies")}}},
    };

    void buildNib(View* root) override
    {
        table = new ShadowedTableView(QRectF(0, 0, 320, root->frame().height() - 49));
        table->setAutoresizingMask(Autoresizing::FlexibleSize);
        table->setDataSource(this);
        table->setDelegate(this);
        table->setRowHeight(58);
        table->setBackgroundColor(Customizer::getInstance().colorForKey(kColorBackground));
        root->addSubview(table);
        tabs = new TabBarHidding(QRectF(0, root->frame().height() - 49, 320, 49));
        tabs->setAutoresizingMask(Autoresizing::FlexibleTopMargin | Autoresizing::FlexibleWidth);
        const QStringList names{QStringLiteral("New"), QStringLiteral("Messages"), QStringLiteral("Search"),
                                QStringLiteral("Subscribed"), QStringLiteral("Moderate")};
        QList<TabBarItemPtr> items;
        for (int i = 0; i < names.size(); ++i)
            items.append(std::make_shared<TabBarItem>(names[i], icon(i), i));
        tabs->setItems(items);
        tabs->awakeFromNib();
        tabs->hideButtonAtIndex(4);
        tabs->setSelectedItem(items[0]);
        root->addSubview(tabs);
    }
    void viewDidLoad() override
    {
        UIViewControllerCommon::viewDidLoad();
        navigationItem()->setRightBarButtonItem(BarButtonItem::withSystemItem(BarButtonSystemItem::Compose));
        table->reloadData();
    }

    int numberOfSectionsInTableView(TableView*) override { return int(sections.size()); }
    int numberOfRowsInSection(TableView*, int section) override { return int(sections[section].second.size()); }
    TableViewCell* cellForRowAtIndexPath(TableView* t, const IndexPath& path) override
    {
        auto* cell = t->dequeueReusableCellWithIdentifier(QStringLiteral("ForumCell"));
        if (!cell) {
            cell = new TableViewCell(TableViewCellStyle::Subtitle, QStringLiteral("ForumCell"));
            cell->setAccessoryType(TableViewCellAccessoryType::DisclosureIndicator);
            cell->textLabel()->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 16));
            cell->textLabel()->setTextColor(Customizer::getInstance().colorForKey(kColorTextTitle));
            cell->detailTextLabel()->setFont(Font::fontWithName(QStringLiteral("Helvetica"), 13));
            cell->detailTextLabel()->setTextColor(Customizer::getInstance().colorForKey(kColorTextSecondary));
        }
        const Forum& forum = sections[path.section].second[path.row];
        cell->textLabel()->setText(forum.title);
        cell->detailTextLabel()->setText(forum.detail);
        cell->layoutSubviews();
        return cell;
    }
    std::optional<qreal> heightForHeaderInSection(TableView*, int) override { return 30; }
    View* viewForHeaderInSection(TableView*, int section) override
    {
        auto* label = new Label(QRectF(0, 0, 300, 30));
        label->setText(QStringLiteral("    %1").arg(sections[section].first));
        label->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 13));
        label->setTextColor(Customizer::getInstance().colorForKey(kColorTextCategory));
        label->setBackgroundColor(Customizer::getInstance().colorForKey(kColorBackground));
        return label;
    }

    ShadowedTableView* table = nullptr;
    TabBarHidding* tabs = nullptr;
};

// The controls on one screen: what a sign-in or editor screen is made of.
class ControlsScreen : public UIViewControllerCommon {
public:
    ControlsScreen() { setTitle(QStringLiteral("Sign in")); }
    void buildNib(View* root) override
    {
        auto* intro = new Label(QRectF(20, 16, 280, 0));
        intro->setFont(Font::fontWithName(QStringLiteral("Helvetica"), 14));
        intro->setTextColor(Customizer::getInstance().colorForKey(kColorTextPrimary));
        intro->setText(QStringLiteral("Sign in with your forum name and password to post, reply and follow "
                                      "your subscriptions."));
        sizeToFitFixedWidth(intro, 280);
        root->addSubview(intro);

        auto* name = new TextField(QRectF(20, 72, 280, 31));
        name->setBorderStyle(TextBorderStyle::RoundedRect);
        name->setPlaceholder(QStringLiteral("User name"));
        name->setText(QStringLiteral("alice"));
        root->addSubview(name);
        auto* password = new TextField(QRectF(20, 111, 280, 31));
        password->setBorderStyle(TextBorderStyle::RoundedRect);
        password->setPlaceholder(QStringLiteral("Password"));
        password->setSecureTextEntry(true);
        root->addSubview(password);

        auto* signIn = new GradientButton(QRectF(20, 156, 280, 44), GradientButton::Archive{});
        signIn->setTitle(QStringLiteral("Sign in"));
        root->addSubview(signIn);
        auto* pressed = new GradientButton(QRectF(20, 208, 135, 37), GradientButton::Archive{});
        pressed->setTitle(QStringLiteral("Pressed"));
        pressed->setHighlighted(true);
        root->addSubview(pressed);
        auto* skip = new Button(QRectF(165, 208, 135, 37), ButtonType::RoundedRect);
        skip->setTitle(QStringLiteral("Skip"));
        root->addSubview(skip);

        auto* sort = new SegmentControlHidding({QStringLiteral("Newest"), QStringLiteral("Top"),
                                                QStringLiteral("Subscribed")});
        sort->setFrame(QRectF(20, 258, 280, 34));
        sort->awakeFromNib();
        sort->setSelectedSegmentIndex(0);
        root->addSubview(sort);
        auto* bar = new SegmentedControl({QStringLiteral("Previous"), QStringLiteral("Next")});
        bar->setSegmentedControlStyle(SegmentedControlStyle::Bar);
        bar->setTintColor(Customizer::getInstance().colorForKey(kColorBackgroundButton));
        bar->setFrame(QRectF(20, 302, 150, 30));
        bar->setEnabledForSegmentAtIndex(false, 0);
        root->addSubview(bar);
        auto* contact = new Button(QRectF(270, 302, 29, 29), ButtonType::ContactAdd);
        root->addSubview(contact);

        auto* box = new RoundedRectView(QRectF(190, 340, 110, 66));
        box->setCornerRadius(15);
        box->setRectColor(QColor::fromRgbF(0.2f, 0.2f, 0.2f, 0.9f));
        box->setStrokeColor(QColor::fromRgbF(0.2f, 0.2f, 0.2f, 1));
        root->addSubview(box);
        auto* spinner = new ActivityIndicatorView(ActivityIndicatorStyle::White);
        spinner->setFrame(QRectF(235, 348, 20, 20));
        spinner->startAnimating();
        root->addSubview(spinner);
        auto* loading = new Label(QRectF(190, 376, 110, 20));
        loading->setText(QStringLiteral("Loading..."));
        loading->setTextColor(Qt::white);
        loading->setFont(Font::boldSystemFontOfSize(13));
        loading->setTextAlignment(TextAlignment::Center);
        root->addSubview(loading);
        auto* version = new Label(QRectF(20, 376, 160, 14));
        version->setText(QStringLiteral("Version 1.0"));
        version->setFont(Font::fontWithName(QStringLiteral("HelveticaNeue-Bold"), 12));
        version->setTextColor(Customizer::getInstance().colorForKey(kColorTextNotification));
        root->addSubview(version);
    }
    void viewDidLoad() override
    {
        UIViewControllerCommon::viewDidLoad();
        navigationItem()->setRightBarButtonItem(BarButtonItem::withSystemItem(BarButtonSystemItem::Done));
        navigationItem()->setLeftBarButtonItem(BarButtonItem::withSystemItem(BarButtonSystemItem::Cancel));
    }
};

// A grouped form table with a toolbar.
class FormScreen : public UIViewControllerCommon, public TableViewDataSource {
public:
    FormScreen() { setTitle(QStringLiteral("Register")); }
    void buildNib(View* root) override
    {
        auto* table = new TableView(QRectF(0, 0, 320, root->frame().height() - 44), TableViewStyle::Grouped);
        table->setDataSource(this);
        root->addSubview(table);
        table->reloadData();
        auto* toolbar = new Toolbar(QRectF(0, root->frame().height() - 44, 320, 44));
        toolbar->setTintColor(Customizer::getInstance().colorForKey(kColorBackgroundButton));
        toolbar->setItems({BarButtonItem::withSystemItem(BarButtonSystemItem::Refresh),
                           BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace),
                           BarButtonItem::withTitle(QStringLiteral("Submit"), BarButtonItemStyle::Bordered),
                           BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace),
                           BarButtonItem::withSystemItem(BarButtonSystemItem::Trash)});
        root->addSubview(toolbar);
    }
    int numberOfSectionsInTableView(TableView*) override { return 2; }
    int numberOfRowsInSection(TableView*, int section) override { return section == 0 ? 3 : 2; }
    QString titleForHeaderInSection(TableView*, int section) override
    {
        return section == 0 ? QStringLiteral("Account") : QStringLiteral("Profile");
    }
    QString titleForFooterInSection(TableView*, int section) override
    {
        return section == 1 ? QStringLiteral("Your birthday is never shown to other members.") : QString();
    }
    TableViewCell* cellForRowAtIndexPath(TableView*, const IndexPath& path) override
    {
        static const QStringList keys{QStringLiteral("User name"), QStringLiteral("E-mail"), QStringLiteral("Password"),
                                      QStringLiteral("Birthday"), QStringLiteral("Time zone")};
        static const QStringList values{QStringLiteral("alice"), QStringLiteral("alice@example.org"),
                                        QStringLiteral("\u2022\u2022\u2022\u2022\u2022\u2022"),
                                        QStringLiteral("12/05/1990"), QStringLiteral("GMT+1")};
        auto* cell = new TableViewCell(TableViewCellStyle::Value1);
        const int i = path.section * 3 + path.row;
        cell->textLabel()->setText(keys[i]);
        cell->detailTextLabel()->setText(values[i]);
        if (path.section == 1)
            cell->setAccessoryType(TableViewCellAccessoryType::DisclosureIndicator);
        if (i == 0)
            cell->setAccessoryType(TableViewCellAccessoryType::Checkmark);
        cell->layoutSubviews();
        return cell;
    }
};

class GalleryTest : public UiTest {
protected:
    void show(const ViewControllerPtr& screen)
    {
        auto nav = NavigationController::create(screen);
        nav->navigationBar()->setTintColor(Customizer::getInstance().colorForKey(kColorBackgroundButton));
        window->setRootViewController(nav);
        Animator::shared().finishAll();
    }
    void save(const QString& name)
    {
        const QString path = galleryPath(name);
        ASSERT_TRUE(Screenshot::savePNG(window.get(), path));
        const QImage image(path);
        ASSERT_EQ(image.size(), QSize(640, 960));
        // Not blank: the picture has many colours.
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 7)
            for (int x = 0; x < image.width(); x += 7)
                colours.insert(image.pixel(x, y));
        EXPECT_GT(colours.size(), 20) << name.toStdString();
    }
};

}  // namespace

TEST_F(GalleryTest, ScreensBuiltFromTheWidgets)
{
    auto forums = std::make_shared<ForumsScreen>();
    show(forums);
    save(QStringLiteral("screen_forums.png"));

    forums->table->selectRowAtIndexPath({1, 0}, false, TableViewScrollPosition::None);
    forums->table->setContentOffset(QPointF(0, -60));
    save(QStringLiteral("table_pulled_and_selected.png"));

    show(std::make_shared<ControlsScreen>());
    save(QStringLiteral("controls.png"));

    show(std::make_shared<FormScreen>());
    save(QStringLiteral("grouped_form.png"));
}

TEST_F(GalleryTest, AlertsSheetsAndPages)
{
    AlertPresenter::install();
    show(std::make_shared<ForumsScreen>());
    auto alert = AlertView::create(QStringLiteral("Sign out"), QStringLiteral("Do you really want to sign out?"),
                                   nullptr, {QStringLiteral("Yes"), QStringLiteral("No")});
    alert->show();
    save(QStringLiteral("alert.png"));
    alert->dismissWithoutButton();

    auto prompt = AlertView::create(QStringLiteral("Private forum"), QStringLiteral("This forum needs a password."),
                                    nullptr, {QStringLiteral("Cancel"), QStringLiteral("OK")});
    prompt->addTextField(QStringLiteral("Password"), true);
    prompt->show();
    save(QStringLiteral("alert_with_field.png"));
    prompt->dismissWithoutButton();
    turnEventLoop();

    auto* sheet = new ActionSheet(QString(), nullptr, QStringLiteral("Cancel"), QStringLiteral("Delete picture"),
                                  {QStringLiteral("Change picture")});
    sheet->showInView(window.get());
    Animator::shared().finishAll();
    save(QStringLiteral("action_sheet.png"));
    sheet->dismissWithClickedButtonIndex(2, false);
    turnEventLoop();

    auto page = std::make_shared<UIViewControllerCommon>();
    page->setTitle(QStringLiteral("Post"));
    show(page);
    auto* web = new WebView(QRectF(0, 0, 320, 416));
    page->view()->addSubview(web);
    web->loadHTMLString(
        QStringLiteral("<div style='font-family:Helvetica; font-size:14px'>"
                       "<p><b>alice</b> wrote:</p>"
                       "<table width='100%' cellpadding='6' style='background-color:#D8E3EB'><tr><td>"
                       "<i>Has anyone tried the new dovetail jig?</i></td></tr></table>"
                       "<p>I have, and it works well on <a href='mu:forum/4'>hardwood</a>. "
                       "The guide is <a href='http://example.org/guide'>here</a>.</p>"
                       "<script>alert('never')</script></div>"),
        QUrl(QStringLiteral("http://forum.example/")));
    save(QStringLiteral("web_view.png"));

    auto settings = std::make_shared<UIViewControllerCommon>();
    settings->setTitle(QStringLiteral("Birthday"));
    show(settings);
    auto* hint = new Label(QRectF(20, 20, 190, 27));
    hint->setText(QStringLiteral("Show my age"));
    hint->setFont(Font::boldSystemFontOfSize(17));
    settings->view()->addSubview(hint);
    auto* toggle = new Switch(QPointF(206, 20));
    toggle->setOn(true);
    settings->view()->addSubview(toggle);
    auto* picker = new DatePicker(QRectF(0, 200, 320, 216));
    picker->setDate(QDate(1990, 5, 12));
    settings->view()->addSubview(picker);
    save(QStringLiteral("pickers.png"));
}

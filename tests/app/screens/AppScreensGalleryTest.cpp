#include "Answers.h"
#include "ScreenWindowTest.h"

#include "app/model/Config.h"
#include "app/config/Customizer.h"
#include "app/navigation/ContextScreens.h"
#include "app/screens/GlobalNavigationViewController.h"
#include "app/screens/MurmoraViewController.h"
#include "app/screens/RootNavigation.h"
#include "app/screens/SharedInfoUnreadMessages.h"
#include "app/session/CurrentUser.h"
#include "app/session/Notification.h"
#include "app/widgets/LoadMoreButtonCell.h"
#include "app/widgets/PageNavView.h"
#include "app/widgets/PageSelector.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/PullRefreshTableHeaderView.h"
#include "app/widgets/ShadowedTableView.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/ViewControllerRegistry.h"

#include <QSet>

// Renders the paged list, its band and strip, the paging controls and the
// global menu on a phone screen to PNG files under the build folder
// (gallery/), to be looked at; checks that each picture was written and
// shows something.
namespace {

using TestSupport::galleryPath;

// The forum info's stand-in for the pictures, a part of the test's context:
// three unread messages.
class PictureInfo : public Model {
public:
    PictureInfo() : inbox(std::make_shared<Notification>()) { inbox->setTotal(3); }
    std::shared_ptr<Notification> inboxNotification() const { return inbox; }
    std::shared_ptr<Notification> inbox;
};

// Threads of a forum, page by page, given by hand.
class ThreadPages : public ModelWithPages {
public:
    void fetchPage(int) override {}
    void answer(int page, int total)
    {
        static const QStringList titles{
            QStringLiteral("Welcome to the workshop"),      QStringLiteral("Which saw for dovetails?"),
            QStringLiteral("Show us your bench"),           QStringLiteral("Sharpening stones compared"),
            QStringLiteral("Finishing oak with oil or wax"), QStringLiteral("First chair, lessons learnt"),
            QStringLiteral("Restoring an old hand plane"),  QStringLiteral("Glue-up clamps on a budget"),
        };
        Page entries;
        for (int i = 0; i < titles.size(); ++i) {
            auto row = std::make_shared<Notification>();
            row->setPhrase(titles[(i + page) % titles.size()]);
            row->setTotal(3 + (i * 7 + page * 5) % 40);
            entries.append(row);
        }
        pages().insert(pageKey(page), entries);
        setPagenav(pageNavBlock(page, total));
        notifyChanged();
    }
};

class ThreadListScreen : public MurmoraViewController, public PaginableTableDelegate {
public:
    explicit ThreadListScreen(AppContext& context) : MurmoraViewController(context)
    {
        setTitle(QStringLiteral("Workshop"));
    }
    QString getBarTitle() const override { return QStringLiteral("Forums"); }
    void buildNib(View* root) override
    {
        list = new PaginableTableView(QRectF(0, 0, 320, root->frame().height()));
        list->setAutoresizingMask(Autoresizing::FlexibleSize);
        list->setDelegate(this);
        root->addSubview(list);
    }
    TableViewCell* cellForObject(PaginableTableView* view, const ModelPtr& object) override
    {
        TableViewCell* cell = view->tableView()->dequeueReusableCellWithIdentifier(QStringLiteral("ThreadCell"));
        if (!cell) {
            cell = new TableViewCell(TableViewCellStyle::Subtitle, QStringLiteral("ThreadCell"));
            cell->textLabel()->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 15));
            cell->textLabel()->setTextColor(Customizer::getInstance().colorForKey(kColorTextTitle));
            cell->detailTextLabel()->setFont(Font::fontWithName(QStringLiteral("Helvetica"), 12));
            cell->setSeparator(TableViewCellSeparatorStyle::SingleLine, QColor(0xD5, 0xDC, 0xE6));
            cell->setAccessoryType(TableViewCellAccessoryType::DisclosureIndicator);
        }
        const auto* row = dynamic_cast<const Notification*>(object.get());
        cell->textLabel()->setText(row ? row->phrase() : QString());
        cell->detailTextLabel()->setText(QStringLiteral("%1 replies, last by carol").arg(row ? row->total() : 0));
        return cell;
    }
    qreal heightForCellWithObject(PaginableTableView*, const ModelPtr&) override { return 54; }
    QString titleForTheFirstSection() override { return QStringLiteral("Threads"); }
    void didSelectCell(TableViewCell*, const ModelPtr&) override {}

    PaginableTableView* list = nullptr;
};

class PlainSection : public MurmoraViewController {
public:
    using MurmoraViewController::MurmoraViewController;
    QString getBarTitle() const override { return QStringLiteral("Home"); }
};

class AppScreensGalleryTest : public ScreenWindowTest {
protected:
    void SetUp() override
    {
        ScreenWindowTest::SetUp();
        for (const char* name : {"ForumController", "HomeController", "LoginController", "ArticleListController",
                                 "BlogHomeScreenViewController", "PrivateMessagesController",
                                 "NotificationsController", "ProfileController", "FriendsController",
                                 "SearchController"})
            ContextScreens::registerClass<PlainSection>(context(), QString::fromLatin1(name));
        Config::getInstance().setFeaturesInt(0x7FF);
    }
    void save(const QString& name) { savePicture(name, 20); }
    void signInAs(int userid)
    {
        const std::shared_ptr<CurrentUser> user = CurrentUser::currentUser();
        user->setUserid(userid);
        user->setAnonymous(userid == 0);
    }
};

}  // namespace

TEST_F(AppScreensGalleryTest, PagedListWithStripBandAndLoadingRow)
{
    auto screen = std::make_shared<ThreadListScreen>(context());
    context().part<RootNavigation>()->setController(screen);
    finishMoving();
    auto model = std::make_shared<ThreadPages>();
    screen->list->setModel(model);
    model->answer(1, 7);
    save(QStringLiteral("paged-list.png"));

    // Page 3 chosen, page 4 loaded below it, scrolled to the page header.
    screen->list->navView()->setSelectedPage(3);
    model->answer(3, 7);
    model->answer(4, 7);
    TableView* table = screen->list->tableView();
    table->setContentOffset(QPointF(0, table->rectForHeaderInSection(1).top() - 150));
    save(QStringLiteral("paged-list-page-header.png"));

    // The end of the loaded pages: the row that loads more.
    table->setContentOffset(table->maximumContentOffset());
    save(QStringLiteral("paged-list-loading-row.png"));

    // Pulled down past the threshold, held; then let go.
    table->setContentOffset(QPointF(0, 0));
    table->beginDragging(QPointF(160, 200));
    table->dragTo(QPointF(160, 360));
    save(QStringLiteral("paged-list-pulled.png"));
    table->endDragging();
    clock()->advance(400);
    Animator::shared().finishAll();
    ASSERT_EQ(screen->list->refreshHeaderView()->state(), PullRefreshTableHeaderView::Loading);
    const QString path = galleryPath(QStringLiteral("paged-list-refreshing.png"));
    ASSERT_TRUE(Screenshot::savePNG(window.get(), path, 2));
}

TEST_F(AppScreensGalleryTest, PageSelectorAndLoadMoreCell)
{
    auto screen = std::make_shared<PlainSection>(context());
    context().part<RootNavigation>()->setController(screen);
    finishMoving();
    auto selector = std::make_shared<PageSelector>(5, 2);
    View* bar = selector->view();
    bar->setFrame(QRectF(0, 20, 320, PageSelector::kHeight));
    screen->view()->addSubview(bar);
    auto* more = new LoadMoreButtonCell();
    more->setFrame(QRectF(0, 90, 320, LoadMoreButtonCell::kHeight));
    screen->view()->addSubview(more);
    auto* loading = new LoadMoreButtonCell();
    loading->setFrame(QRectF(0, 140, 320, LoadMoreButtonCell::kHeight));
    loading->showLoading(true);
    screen->view()->addSubview(loading);
    save(QStringLiteral("paging-controls.png"));
    selector.reset();
}

TEST_F(AppScreensGalleryTest, TheMenuOfAMemberAndOfAGuest)
{
    context().setPart(std::make_shared<PictureInfo>());
    context().setPart<UnreadMessagesSource>(std::make_shared<SharedInfoUnreadMessages<PictureInfo>>(context()));
    signInAs(7);
    auto screen = std::make_shared<PlainSection>(context());
    context().part<RootNavigation>()->setController(screen);
    finishMoving();
    screen->showGlobalNavigationView();
    save(QStringLiteral("menu-member.png"));
    screen->globalNavigationView()->cancel();

    signInAs(0);
    Config::getInstance().setFeaturesInt(0x7FF & ~(1 | 2));
    screen->showGlobalNavigationView();
    save(QStringLiteral("menu-guest.png"));
}

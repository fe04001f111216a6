#include "HomeScreenTest.h"
#include "ControlClicks.h"

#include "app/model/Config.h"
#include "app/widgets/GradientButton.h"
#include "app/widgets/TabBarHidding.h"
#include "forum/cells/SearchPostCell.h"
#include "app/widgets/StatusMessageView.h"
#include "forum/cells/ThreadCell.h"
#include "forum/screens/ForumSearchScreens.h"
#include "forum/screens/PostController.h"
#include "forum/screens/PostDetailsController.h"
#include "forum/screens/SearchController.h"
#include "forum/screens/SearchForController.h"
#include "forum/screens/SearchFromController.h"
#include "forum/screens/SearchOrderController.h"
#include "forum/screens/SearchPostController.h"
#include "forum/screens/SearchThreadController.h"
#include "forum/screens/ThreadController.h"

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/SegmentedControl.h"

#include "app/config/ErrorMessages.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyList.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

// The search screens on the loopback forum: the general search with its
// settings, the search in a forum and the search in a thread, as a member
// meets them.
namespace {

class SearchScreensTest : public HomeScreenTest {
protected:
    void SetUp() override
    {
        HomeScreenTest::SetUp();
        ForumSearchScreens::registerClasses(context());
    }
    void TearDown() override
    {
        ForumSearchScreens::unregisterClasses();
        HomeScreenTest::TearDown();
        // The texts of another language must not outlive the test.
        ErrorMessages::forgetTable();
    }

    // The application's resources in another language, whose words for some
    // codes are given: the error table is read from them from now on.
    void translate(const ValueDict& texts)
    {
        ASSERT_TRUE(m_translated.isValid());
        const QDir from(Bundle::main().resourcesPath());
        QDirIterator files(from.path(), QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            const QString target = m_translated.filePath(from.relativeFilePath(path));
            QDir().mkpath(QFileInfo(target).path());
            ASSERT_TRUE(QFile::copy(path, target)) << path.toStdString();
        }
        const QString table = m_translated.filePath(u"en.lproj/Localizable.plist"_s);
        bool ok = false;
        ValueDict strings = PropertyList::readFile(table, &ok).dict();
        ASSERT_TRUE(ok);
        for (const auto& [code, text] : texts)
            strings.insert(code, text);
        QFile file(table);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(PropertyList::toXml(Value(strings)));
        file.close();
        Bundle::main().setResourcesPath(m_translated.path());
        ErrorMessages::forgetTable();
    }

    // Types the words into the field and presses Return, as the user does.
    void searchFor(SearchBar* bar, const QString& words)
    {
        finishMoving();
        tapView(bar->textField());
        ASSERT_TRUE(bar->isFirstResponder()) << "a click into the field gave it no keyboard";
        UserInput::key(Qt::Key_A, Qt::ControlModifier, QString(), window.get());
        UserInput::type(words, window.get());
        UserInput::key(Qt::Key_Return, Qt::NoModifier, QString(), window.get());
        settleAll();
        settleAll();
    }
    // A row of a setting's list chosen on its screen, then back.
    // A setting's screen: the settings head the list, scrolled back to its top.
    void openSetting(SearchController* screen, SearchController::SettingRow setting)
    {
        screen->resultsTable()->tableView()->setContentOffset(QPointF(0, 0));
        finishMoving();
        tapRow(screen->settings(), IndexPath{0, setting});
    }
    void choose(SearchController* screen, SearchController::SettingRow setting, int row)
    {
        openSetting(screen, setting);
        auto* list = dynamic_cast<SearchChoiceController*>(top());
        ASSERT_NE(list, nullptr);
        tapRow(list->tableView(), IndexPath{0, row});
        back();
    }
    static QList<ModelPtr> allRows(PaginableTableView* table)
    {
        QList<ModelPtr> rows;
        for (int section = 0; section < table->tableView()->numberOfSections(); ++section)
            rows.append(table->rowsForSection(section));
        return rows;
    }
    static QList<ThreadPtr> threadsOf(const QList<ModelPtr>& rows)
    {
        QList<ThreadPtr> threads;
        for (const ModelPtr& row : rows) {
            if (const auto thread = std::dynamic_pointer_cast<Thread>(row))
                threads.append(thread);
        }
        return threads;
    }
    void picture(const QString& name)
    {
        finishMoving();
        EXPECT_TRUE(Screenshot::savePNG(window.get(), TestSupport::galleryPath(name)));
    }
    std::shared_ptr<SearchController> openSearch()
    {
        auto screen = std::make_shared<SearchController>(context());
        showRoot(screen);
        settleAll();
        return screen;
    }

    QTemporaryDir m_translated;
};

}  // namespace

TEST_F(SearchScreensTest, TheGeneralSearchFindsByWordsMemberAndTagInEveryOrderWithinADateAndOpensAResult)
{
    signIn(u"alice"_s, u"secret1"_s);
    const auto screen = openSearch();
    EXPECT_EQ(screen->settingValue(SearchController::SearchForRow), u"All content types");
    EXPECT_EQ(screen->settingValue(SearchController::FindPostRow), u"Any time");
    EXPECT_EQ(screen->settingValue(SearchController::SortResultRow), u"Newest first");
    EXPECT_FALSE(screen->status()->isHidden());
    EXPECT_EQ(screen->searchCriteria()->selectedSegmentIndex(), SearchController::Keywords);
    picture(u"search-start.png"_s);

    // Two letters are too few: the forum is asked nothing.
    searchFor(screen->searchBar(), u"ab"_s);
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    EXPECT_EQ(AlertView::visibleAlerts().first()->message(), tableText(u"words_very_common"_s));
    AlertView::visibleAlerts().first()->dismissWithClickedButtonIndex(0);
    EXPECT_TRUE(requestsOf("search_process").isEmpty());

    // Posts only: the other kinds are tapped off; the last kind stays.
    openSetting(screen.get(), SearchController::SearchForRow);
    auto* kinds = topAs<SearchForController>();
    ASSERT_NE(kinds, nullptr);
    ASSERT_EQ(kinds->rowCount(), 4);
    for (int row : {1, 2, 3})
        tapRow(kinds->tableView(), IndexPath{0, row});
    tapRow(kinds->tableView(), IndexPath{0, 0});
    EXPECT_TRUE(kinds->isChosen(0));
    EXPECT_EQ(kinds->selectedItems(), SearchAll::PostBit);
    clickBarButton(window.get(), kinds->navigationItem()->rightBarButtonItem());
    finishMoving();
    ASSERT_EQ(top(), screen.get());
    EXPECT_EQ(screen->settingValue(SearchController::SearchForRow), u"Posts");

    // Words, newest first; the pages come as the list scrolls.
    searchFor(screen->searchBar(), u"daily chat"_s);
    TestForumRequest process = requestsOf("search_process").last();
    EXPECT_EQ(process.field(u"query"_s), u"daily chat");
    EXPECT_EQ(process.fieldValues(u"type[]"_s), QStringList{u"1"_s});
    EXPECT_EQ(process.field(u"sortby"_s), u"dateline");
    EXPECT_EQ(process.field(u"order"_s), u"descending");
    EXPECT_TRUE(process.field(u"beforeafter"_s).isEmpty());
    EXPECT_TRUE(screen->status()->isHidden());
    EXPECT_FALSE(screen->loading()->isAnimating());
    QList<ThreadPtr> found = threadsOf(allRows(screen->resultsTable()));
    ASSERT_EQ(found.size(), 10);
    EXPECT_TRUE(std::is_sorted(found.begin(), found.end(),
                               [](const ThreadPtr& a, const ThreadPtr& b) { return a->lastdate() > b->lastdate(); }));
    picture(u"search-results.png"_s);
    ShadowedTableView* list = screen->resultsTable()->tableView();
    list->setContentOffset(list->maximumContentOffset());
    settleAll();
    ASSERT_EQ(list->numberOfSections(), 2);
    EXPECT_EQ(requestsOf("search_showresults").last().field(u"pagenumber"_s), u"2");
    EXPECT_EQ(threadsOf(allRows(screen->resultsTable())).size(), 20);

    // Every order of the list, each sent as the forum reads it.
    struct Expected {
        int row;
        const char* sortby;
        const char* order;
        std::function<bool(const ThreadPtr&, const ThreadPtr&)> inOrder;
    };
    const auto title = [](const ThreadPtr& t) { return t->threadtitle().toLower(); };
    const auto starter = [](const ThreadPtr& t) { return t->user()->username().toLower(); };
    const QList<Expected> orders{
        {1, "dateline", "ascending", [](const ThreadPtr& a, const ThreadPtr& b) { return a->lastdate() < b->lastdate(); }},
        {2, "relevance", "descending", {}},
        {3, "user", "descending", [&](const ThreadPtr& a, const ThreadPtr& b) { return starter(a) > starter(b); }},
        {4, "user", "ascending", [&](const ThreadPtr& a, const ThreadPtr& b) { return starter(a) < starter(b); }},
        {5, "title", "descending", [&](const ThreadPtr& a, const ThreadPtr& b) { return title(a) > title(b); }},
        {6, "title", "ascending", [&](const ThreadPtr& a, const ThreadPtr& b) { return title(a) < title(b); }},
        {0, "dateline", "descending", [](const ThreadPtr& a, const ThreadPtr& b) { return a->lastdate() > b->lastdate(); }},
    };
    for (const Expected& expected : orders) {
        choose(screen.get(), SearchController::SortResultRow, expected.row);
        searchFor(screen->searchBar(), u"daily chat"_s);
        process = requestsOf("search_process").last();
        EXPECT_EQ(process.field(u"sortby"_s), QString::fromLatin1(expected.sortby)) << expected.row;
        EXPECT_EQ(process.field(u"order"_s), QString::fromLatin1(expected.order)) << expected.row;
        found = threadsOf(allRows(screen->resultsTable()));
        ASSERT_EQ(found.size(), 10) << expected.row;
        if (expected.inOrder) {
            EXPECT_TRUE(std::is_sorted(found.begin(), found.end(), expected.inOrder)) << expected.row;
        }
    }
    EXPECT_EQ(screen->settingValue(SearchController::SortResultRow), u"Newest first");

    // Within the last week, then before it.
    const QDateTime weekAgo = QDateTime::currentDateTimeUtc().addDays(-7);
    choose(screen.get(), SearchController::FindPostRow, 5);
    EXPECT_EQ(screen->settingValue(SearchController::FindPostRow), u"In the last week");
    searchFor(screen->searchBar(), u"daily chat"_s);
    process = requestsOf("search_process").last();
    EXPECT_EQ(process.field(u"beforeafter"_s), u"after");
    EXPECT_EQ(process.field(u"searchdate"_s), u"7");
    found = threadsOf(allRows(screen->resultsTable()));
    ASSERT_FALSE(found.isEmpty());
    for (const ThreadPtr& thread : found)
        EXPECT_GT(thread->lastdate(), weekAgo.addSecs(-60));
    choose(screen.get(), SearchController::FindPostRow, 6);
    searchFor(screen->searchBar(), u"daily chat"_s);
    EXPECT_EQ(requestsOf("search_process").last().field(u"beforeafter"_s), u"before");
    found = threadsOf(allRows(screen->resultsTable()));
    ASSERT_FALSE(found.isEmpty());
    for (const ThreadPtr& thread : found)
        EXPECT_LT(thread->lastdate(), weekAgo.addSecs(60));
    choose(screen.get(), SearchController::FindPostRow, 0);

    // What a member wrote.
    clickSegment(screen->searchCriteria(), SearchController::Usernames);
    searchFor(screen->searchBar(), u"bob"_s);
    process = requestsOf("search_process").last();
    EXPECT_EQ(process.field(u"searchuser"_s), u"bob");
    EXPECT_FALSE(process.fields.contains(u"query"_s));
    found = threadsOf(allRows(screen->resultsTable()));
    ASSERT_FALSE(found.isEmpty());
    const int bob = forum().memberId(u"bob"_s);
    for (const ThreadPtr& thread : found) {
        bool wrote = false;
        for (const QJsonValue& postid : forum().threadState(thread->threadid()).value(u"posts"_s).toArray())
            wrote = wrote || forum().postState(postid.toInt()).value(u"userid"_s).toInt() == bob;
        EXPECT_TRUE(wrote) << thread->threadid();
    }

    // A tag, in every kind again: threads and a blog entry.
    openSetting(screen.get(), SearchController::SearchForRow);
    for (int row : {1, 2, 3})
        tapRow(kinds->tableView(), IndexPath{0, row});
    back();
    EXPECT_EQ(screen->settingValue(SearchController::SearchForRow), u"All content types");
    clickSegment(screen->searchCriteria(), SearchController::Tags);
    searchFor(screen->searchBar(), u"cycling"_s);
    process = requestsOf("search_process").last();
    EXPECT_EQ(process.field(u"tag"_s), u"cycling");
    EXPECT_EQ(process.fieldValues(u"type[]"_s), (QStringList{u"24"_s, u"22"_s, u"1"_s, u"23"_s}));
    const QList<ModelPtr> tagged = allRows(screen->resultsTable());
    QList<qint32> taggedThreads;
    for (const ThreadPtr& thread : threadsOf(tagged))
        taggedThreads.append(thread->threadid());
    std::sort(taggedThreads.begin(), taggedThreads.end());
    EXPECT_EQ(taggedThreads, (QList<qint32>{310, 312}));
    EXPECT_EQ(std::count_if(tagged.begin(), tagged.end(),
                            [](const ModelPtr& row) { return std::dynamic_pointer_cast<BlogModel>(row) != nullptr; }),
              1);

    // Nothing found says so where the results would be; no alert.
    clickSegment(screen->searchCriteria(), SearchController::Keywords);
    searchFor(screen->searchBar(), u"zebra quantum"_s);
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
    EXPECT_FALSE(screen->status()->isHidden());
    EXPECT_EQ(screen->status()->headline(), u"Nothing found");
    EXPECT_EQ(screen->status()->message(), tableText(u"searchnoresults"_s));
    EXPECT_FALSE(screen->status()->offersRetry());
    EXPECT_TRUE(allRows(screen->resultsTable()).isEmpty());

    // A failed search says why once and is tried again from the list.
    forum().dropConnection(u"search_process"_s, 4, TestForum::Drop::BeforeAnswer);
    searchFor(screen->searchBar(), u"harbour"_s);
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    EXPECT_EQ(AlertView::visibleAlerts().first()->message(), tableText(u"nointernet"_s));
    AlertView::visibleAlerts().first()->dismissWithClickedButtonIndex(0);
    ASSERT_TRUE(screen->status()->offersRetry());
    picture(u"search-failed.png"_s);
    forum().clearControls();
    tap(screen->status()->retryButton()->convertPoint(screen->status()->retryButton()->bounds().center(), nullptr));
    settleAll();
    settleAll();
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
    EXPECT_TRUE(screen->status()->isHidden());
    found = threadsOf(allRows(screen->resultsTable()));
    ASSERT_FALSE(found.isEmpty());
    EXPECT_EQ(requestsOf("search_process").last().field(u"query"_s), u"harbour");

    // A thread found opens on its page.
    const ThreadPtr first = found.first();
    tapRow(screen->resultsTable()->tableView(), IndexPath{0, 0});
    auto* page = topAs<PostController>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->thread(), first);
}

TEST_F(SearchScreensTest, NothingFoundIsToldFromARefusalWhoseTranslationReadsTheSame)
{
    // A terse translation gives a turned-off search and an empty one the
    // same words: only the forum's code tells them apart.
    const QString words = u"Suche ergebnislos."_s;
    translate({{u"searchnoresults"_s, Value(words)}, {u"searchdisabled"_s, Value(words)}});
    signIn(u"alice"_s, u"secret1"_s);
    const auto screen = openSearch();

    searchFor(screen->searchBar(), u"zebra quantum"_s);
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
    EXPECT_EQ(screen->status()->headline(), u"Nothing found");
    EXPECT_EQ(screen->status()->message(), words);
    EXPECT_FALSE(screen->status()->offersRetry());

    forum().answerError(u"search_process"_s, QJsonValue(u"searchdisabled"_s));
    searchFor(screen->searchBar(), u"harbour"_s);
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    EXPECT_EQ(AlertView::visibleAlerts().first()->message(), words);
    AlertView::visibleAlerts().first()->dismissWithClickedButtonIndex(0);
    EXPECT_EQ(screen->status()->headline(), Bundle::main().localizedString(u"search_failed_headline"_s));
    EXPECT_TRUE(screen->status()->offersRetry());

    // The search in a forum tells them apart alike.
    auto forumModel = std::make_shared<Forum>();
    forumModel->setForumid(3);
    auto threads = std::make_shared<ThreadController>(context());
    threads->setForum(forumModel);
    showRoot(threads);
    settleAll();
    threads->actions()->tapItem(threads->search());
    finishMoving();
    auto* inForum = topAs<SearchThreadController>();
    ASSERT_NE(inForum, nullptr);
    searchFor(inForum->searchField(), u"zebra quantum"_s);
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
    EXPECT_EQ(inForum->status()->headline(), u"Nothing found");
    EXPECT_FALSE(inForum->status()->offersRetry());
    forum().answerError(u"search_process"_s, QJsonValue(u"searchdisabled"_s));
    searchFor(inForum->searchField(), u"harbour"_s);
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    EXPECT_EQ(AlertView::visibleAlerts().first()->message(), words);
    AlertView::visibleAlerts().first()->dismissWithClickedButtonIndex(0);
    EXPECT_TRUE(inForum->status()->offersRetry());
}

TEST_F(SearchScreensTest, SearchesInAForumAndInAThreadShowWhatTheyFoundWithTheWordsMarked)
{
    signIn(u"alice"_s, u"secret1"_s);
    auto forumModel = std::make_shared<Forum>();
    forumModel->setForumid(3);
    forumModel->setTitle_clean(u"General Discussion"_s);
    auto threads = std::make_shared<ThreadController>(context());
    threads->setForum(forumModel);
    showRoot(threads);
    settleAll();

    // The forum's search, from its thread list.
    ASSERT_FALSE(threads->actions()->isHiddenAtIndex(ThreadController::SearchItem));
    threads->actions()->tapItem(threads->search());
    finishMoving();
    auto* inForum = topAs<SearchThreadController>();
    ASSERT_NE(inForum, nullptr);
    EXPECT_EQ(inForum->forum(), forumModel);
    EXPECT_TRUE(inForum->searchField()->isFirstResponder());
    EXPECT_TRUE(inForum->table()->isHidden());
    EXPECT_EQ(inForum->status()->message(), Bundle::main().localizedString(u"search_forum_hint"_s));
    picture(u"search-in-forum-start.png"_s);
    searchFor(inForum->searchField(), u"harbour"_s);
    const TestForumRequest process = requestsOf("search_process").last();
    EXPECT_EQ(process.fieldValues(u"forumchoice[]"_s), QStringList{u"3"_s});
    EXPECT_EQ(process.field(u"contenttypeid"_s), u"1");
    EXPECT_EQ(process.field(u"showposts"_s), u"0");
    EXPECT_FALSE(inForum->table()->isHidden());
    EXPECT_FALSE(inForum->searchField()->isFirstResponder());
    const QList<ThreadPtr> found = threadsOf(allRows(inForum->table()));
    ASSERT_FALSE(found.isEmpty());
    EXPECT_EQ(found.first()->threadid(), 302);
    EXPECT_EQ(inForum->heightForCellWithObject(inForum->table(), found.first()), ThreadCell::height());
    // Nothing in this forum: said in place of the list.
    searchFor(inForum->searchField(), u"zebra quantum"_s);
    EXPECT_TRUE(inForum->table()->isHidden());
    EXPECT_EQ(inForum->status()->headline(), u"Nothing found");
    picture(u"search-in-forum-nothing.png"_s);
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
    searchFor(inForum->searchField(), u"harbour"_s);
    tapRow(inForum->table()->tableView(), IndexPath{0, 0});
    auto* page = topAs<PostController>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->thread()->threadid(), 302);
    back();
    back();

    // The thread's search, from the big tips thread's page.
    auto tips = Thread::initWithThreadid(1101);
    auto thread = std::make_shared<PostController>(context());
    thread->setThread(tips);
    navigation()->pushViewController(thread, false);
    settleAll();
    ASSERT_FALSE(thread->actions()->isHiddenAtIndex(PostController::SearchInThread));
    thread->actions()->tapItem(thread->item(PostController::SearchInThread));
    finishMoving();
    auto* inThread = topAs<SearchPostController>();
    ASSERT_NE(inThread, nullptr);
    EXPECT_EQ(inThread->thread(), tips);
    searchFor(inThread->searchField(), u"TIP"_s);
    const TestForumRequest inThreadProcess = requestsOf("search_process").last();
    EXPECT_EQ(inThreadProcess.field(u"searchthreadid"_s), u"1101");
    EXPECT_EQ(inThreadProcess.field(u"showposts"_s), u"1");
    EXPECT_EQ(inThread->searchCriteria(), u"TIP");
    const QList<ModelPtr> posts = allRows(inThread->table());
    ASSERT_GE(posts.size(), 4);
    // Each row shows its post with the word marked, whatever its case.
    int marked = 0;
    for (TableViewCell* cell : inThread->table()->tableView()->visibleCells()) {
        auto* row = qobject_cast<SearchPostCell*>(cell);
        ASSERT_NE(row, nullptr);
        EXPECT_FALSE(row->highlightBoxes().isEmpty()) << row->post()->postid();
        marked += int(row->highlightBoxes().size());
    }
    EXPECT_GE(marked, 4);
    for (const ModelPtr& post : posts)
        EXPECT_GE(inThread->heightForCellWithObject(inThread->table(), post), SearchPostController::kMinimumRowHeight);
    picture(u"search-in-thread.png"_s);
    tapRow(inThread->table()->tableView(), IndexPath{0, 0});
    auto* alone = topAs<PostDetailsController>();
    ASSERT_NE(alone, nullptr);
    EXPECT_EQ(alone->post(), std::dynamic_pointer_cast<Post>(posts.first()));
    back();
    back();

    // A forum that does not search: the thread page offers no search.
    Config& config = Config::getInstance();
    config.setFeaturesInt(config.featuresInt() & ~Config::SearchesEnabled);
    auto other = std::make_shared<PostController>(context());
    other->setThread(Thread::initWithThreadid(1102));
    navigation()->pushViewController(other, false);
    settleAll();
    EXPECT_TRUE(other->actions()->isHiddenAtIndex(PostController::SearchInThread));
}

TEST_F(SearchScreensTest, TheKindsFollowTheForumsFeaturesAndNeverCountAKindNotShown)
{
    Config& config = Config::getInstance();
    const qint32 features = config.featuresInt();
    const auto withFeatures = [&](qint32 on, qint32 off) { config.setFeaturesInt((features | on) & ~off); };

    // Across kinds, without articles: posts, blog entries, blog comments, all chosen.
    withFeatures(Config::MultiTypeSearch | Config::BlogEnabled, Config::CmsEnabled);
    SearchForController multi(context());
    ASSERT_EQ(multi.rowCount(), 3);
    EXPECT_EQ(multi.titleAt(1), u"Blog entries");
    EXPECT_EQ(multi.valueText(), u"All content types");
    EXPECT_EQ(multi.selectedItems(), SearchAll::PostBit | SearchAll::BlogEntryBit | SearchAll::BlogCommentBit);
    multi.choose(1);
    EXPECT_EQ(multi.valueText(), u"Posts, Blog comments");
    EXPECT_EQ(multi.selectedItems(), SearchAll::PostBit | SearchAll::BlogCommentBit);
    multi.choose(0);
    multi.choose(2);
    // The last kind chosen stays chosen.
    EXPECT_EQ(multi.valueText(), u"Blog comments");
    EXPECT_EQ(multi.selectedItems(), SearchAll::BlogCommentBit);
    // Blogs turned off: no kind left shown is chosen, so posts are searched;
    // nothing of the hidden kinds counts.
    withFeatures(Config::MultiTypeSearch | Config::CmsEnabled, Config::BlogEnabled);
    EXPECT_EQ(multi.rowCount(), 2);
    EXPECT_EQ(multi.selectedItems(), SearchAll::PostBit);
    EXPECT_TRUE(multi.isChosen(0));
    EXPECT_FALSE(multi.isChosen(1));

    // One kind at a time: posts at first; a tap chooses the kind tapped alone.
    withFeatures(Config::CmsEnabled | Config::BlogEnabled, Config::MultiTypeSearch);
    SearchForController single(context());
    ASSERT_EQ(single.rowCount(), 4);
    EXPECT_EQ(single.valueText(), u"Posts");
    single.choose(1);
    EXPECT_EQ(single.valueText(), u"Articles");
    EXPECT_EQ(single.selectedItems(), SearchAll::ArticleBit);
    single.choose(3);
    EXPECT_EQ(single.selectedItems(), SearchAll::BlogCommentBit);
    EXPECT_EQ(single.selectedNames(), QStringList{u"Blog comments"_s});
    config.setFeaturesInt(features);
}


#include "forum/screens/ForumController.h"

#include "app/session/AppContext.h"

#include "app/config/ConnectionError.h"
#include "app/config/Customizer.h"
#include "app/navigation/ScreenInputs.h"
#include "app/widgets/LoadCellNib.h"
#include "forum/cells/ForumCell.h"
#include "forum/screens/ThreadController.h"
#include "forum/screens/WritingButton.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewControllerRegistry.h"

#include "platform/foundation/Localized.h"
#include "platform/foundation/StringExtensions.h"

namespace {

void showAmpersands(const ForumPtr& forum)
{
    if (forum && !forum->title_clean().isNull())
        forum->setTitle_clean(StringExtensions::replaceAmpersands(forum->title_clean()));
}

}  // namespace

ForumController::ForumController(AppContext& context) : MurmoraViewController(context)
{
    setTitle(localized("nav_forums"));
}

ForumController::~ForumController()
{
    // The table went with the view, if it has gone.
    if (isViewLoaded()) {
        m_forumTable->setDataSource(nullptr);
        m_forumTable->setDelegate(nullptr);
    }
}

QString ForumController::getBarTitle() const
{
    return localized("nav_forums");
}

void ForumController::buildNib(View* root)
{
    m_forumTable = new TableView(QRectF(0, 0, root->frame().width(), root->frame().height()));
    m_forumTable->setAutoresizingMask(Autoresizing::FlexibleSize);
    m_forumTable->setChoosesRowsByKeyboard(true);
    m_forumTable->setSeparatorStyle(TableViewCellSeparatorStyle::SingleLine);
    m_forumTable->setDataSource(this);
    m_forumTable->setDelegate(this);
    root->addSubview(m_forumTable);
}

void ForumController::viewDidLoad()
{
    MurmoraViewController::viewDidLoad();
    m_forumTable->setBackgroundColor(Customizer::getInstance().colorForKey(kColorBackground));
    m_infoObservation.reset();
    m_info = context().part<ForumInfo>();
    // What the tree holds now, then whatever comes.
    modelHasChanged(m_info.get());
    m_infoObservation.observe(m_info, this);
    requestFooterBanner();
}

void ForumController::viewWillAppear(bool)
{
    // Composing comes with its own screen, for a member.
    WritingButton::update(*this, *context().currentUser(), BarButtonSystemItem::Compose,
                          ViewControllerRegistry::isRegistered(QStringLiteral("CreateContent")),
                          &ForumController::showCreate);
    if (m_info)
        m_info->reload();
}

void ForumController::showCreate()
{
    if (const ViewControllerPtr editor = ViewControllerRegistry::create(QStringLiteral("CreateContent")))
        if (NavigationController* navigation = navigationController())
            navigation->pushViewController(editor, true);
}

void ForumController::modelHasChanged(Model* model)
{
    if (!m_info || model != m_info.get())
        return;
    QHash<int, QString> titles;
    QHash<int, QList<ForumPtr>> forums;
    const QList<ForumPtr> top = m_info->forums();
    for (int i = 0; i < top.size(); ++i) {
        const ForumPtr& forum = top[i];
        if (!forum)
            continue;
        QList<ForumPtr> rows = forum->children();
        // The rows show "&" for "&amp;", and so does every later screen
        // that shows the same forum.
        for (const ForumPtr& row : rows)
            showAmpersands(row);
        showAmpersands(forum);
        if (forum->is_category())
            titles.insert(i, forum->title_clean());
        else
            rows.prepend(forum);
        forums.insert(i, rows);
    }
    m_titles = titles;
    m_forums = forums;
    m_sectionCount = int(top.size());
    if (isViewLoaded())
        m_forumTable->reloadData();
}

bool ForumController::modelHasFailedToUpdate(Model*, const Error& error)
{
    // The index keeps what it showed.
    ConnectionError::showMessage(error);
    return true;
}

ForumPtr ForumController::retrieveForumAtIndexPath(const IndexPath& indexPath) const
{
    const QList<ForumPtr> rows = m_forums.value(indexPath.section);
    if (indexPath.row < 0 || indexPath.row >= rows.size())
        return nullptr;
    return rows[indexPath.row];
}

int ForumController::numberOfSectionsInTableView(TableView*)
{
    return m_sectionCount;
}

int ForumController::numberOfRowsInSection(TableView*, int section)
{
    return int(m_forums.value(section).size());
}

TableViewCell* ForumController::cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    const ForumPtr forum = retrieveForumAtIndexPath(indexPath);
    showAmpersands(forum);
    ForumCell* cell = loadCellNibForTableView<ForumCell>(tableView);
    cell->setForum(forum);
    return cell;
}

QVariant ForumController::keyForRowAtIndexPath(TableView*, const IndexPath& indexPath)
{
    const ForumPtr forum = retrieveForumAtIndexPath(indexPath);
    return forum ? QVariant(forum->forumid()) : QVariant();
}

std::optional<qreal> ForumController::heightForRowAtIndexPath(TableView*, const IndexPath& indexPath)
{
    return ForumCell::heightForForum(retrieveForumAtIndexPath(indexPath));
}

std::optional<qreal> ForumController::heightForHeaderInSection(TableView*, int)
{
    return kSectionHeaderHeight;
}

View* ForumController::viewForHeaderInSection(TableView*, int section)
{
    Customizer& theme = Customizer::getInstance();
    auto* label = new Label(QRectF(0, 0, 300, kSectionHeaderHeight));
    label->setContentMode(ContentMode::Top);
    label->setTextColor(theme.colorForKey(kColorTextCategory));
    label->setBackgroundColor(theme.colorForKey(kColorBackground));
    label->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 13));
    if (m_titles.contains(section))
        label->setText(kSectionTitleIndent + m_titles.value(section));
    return label;
}

void ForumController::didSelectRowAtIndexPath(TableView*, const IndexPath& indexPath)
{
    // The row stays chosen: back from its threads, the arrows go on from it.
    const ForumPtr forum = retrieveForumAtIndexPath(indexPath);
    if (forum) {
        auto threads = std::make_shared<ThreadController>(context());
        threads->setForum(forum);
        if (NavigationController* navigation = navigationController())
            navigation->pushViewController(threads, true);
    }
}

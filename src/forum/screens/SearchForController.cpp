#include "forum/screens/SearchForController.h"

#include "app/session/AppContext.h"

#include "app/model/Config.h"
#include "forum/model/SearchAll.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"

#include "platform/foundation/Localized.h"

const QList<SearchForController::KindInfo>& SearchForController::kinds()
{
    static const QList<KindInfo> list{
        {Kind::Posts, QStringLiteral("posts"), QStringLiteral("search_post.png"), SearchAll::PostBit, 0},
        {Kind::Articles, QStringLiteral("articles"), QStringLiteral("search_articles.png"), SearchAll::ArticleBit,
         Config::CmsEnabled},
        {Kind::BlogEntries, QStringLiteral("blog_entries"), QStringLiteral("search_blog.png"),
         SearchAll::BlogEntryBit, Config::BlogEnabled},
        {Kind::BlogComments, QStringLiteral("blog_comments"), QStringLiteral("search_blog_comment.png"),
         SearchAll::BlogCommentBit, Config::BlogEnabled},
    };
    return list;
}

SearchForController::SearchForController(AppContext& context)
    : m_context(context), m_hasMulti(context.config().isFeatureEnabled(Config::MultiTypeSearch))
{
    setTitle(localized(QStringLiteral("search_for")));
    if (m_hasMulti) {
        for (const KindInfo& info : kinds())
            m_chosen.insert(info.kind);
    } else {
        m_chosen.insert(Kind::Posts);
    }
}

void SearchForController::viewDidLoad()
{
    SearchChoiceController::viewDidLoad();
    auto done = BarButtonItem::withTitle(localized(QStringLiteral("done")), BarButtonItemStyle::Done, this,
                                         &SearchForController::done);
    navigationItem()->setRightBarButtonItem(done);
}

void SearchForController::done()
{
    if (NavigationController* navigation = navigationController())
        navigation->popViewController(this, true);
}

QList<SearchForController::Kind> SearchForController::visibleKinds() const
{
    const Config& config = context().config();
    QList<Kind> shown;
    for (const KindInfo& info : kinds()) {
        if (info.feature == 0 || config.isFeatureEnabled(info.feature))
            shown.append(info.kind);
    }
    return shown;
}

const SearchForController::KindInfo* SearchForController::infoAt(int row) const
{
    const QList<Kind> shown = visibleKinds();
    if (row < 0 || row >= shown.size())
        return nullptr;
    for (const KindInfo& info : kinds()) {
        if (info.kind == shown.at(row))
            return &info;
    }
    return nullptr;
}

QSet<SearchForController::Kind> SearchForController::chosenShown() const
{
    QSet<Kind> shown;
    for (Kind kind : visibleKinds()) {
        if (m_chosen.contains(kind))
            shown.insert(kind);
    }
    // A kind the forum has turned off since it was chosen: posts again.
    if (shown.isEmpty())
        shown.insert(Kind::Posts);
    return shown;
}

bool SearchForController::isKindChosen(Kind kind) const
{
    return chosenShown().contains(kind);
}

int SearchForController::selectedItems() const
{
    const QSet<Kind> chosen = chosenShown();
    int bits = 0;
    for (const KindInfo& info : kinds()) {
        if (chosen.contains(info.kind))
            bits |= info.bit;
    }
    return bits;
}

QStringList SearchForController::selectedNames() const
{
    QStringList names;
    for (int row = 0; row < rowCount(); ++row) {
        if (isChosen(row))
            names.append(titleAt(row));
    }
    return names;
}

QString SearchForController::valueText() const
{
    if (chosenShown().size() == visibleKinds().size())
        return localized(QStringLiteral("all_content_types"));
    return selectedNames().join(QStringLiteral(", "));
}

int SearchForController::rowCount() const
{
    return int(visibleKinds().size());
}

QString SearchForController::titleKeyAt(int row) const
{
    const KindInfo* info = infoAt(row);
    return info ? info->titleKey : QString();
}

QString SearchForController::iconAt(int row) const
{
    const KindInfo* info = infoAt(row);
    return info ? info->icon : QString();
}

bool SearchForController::isChosen(int row) const
{
    const KindInfo* info = infoAt(row);
    return info && chosenShown().contains(info->kind);
}

void SearchForController::choose(int row)
{
    const KindInfo* info = infoAt(row);
    if (!info)
        return;
    if (!m_hasMulti) {
        m_chosen = {info->kind};
        return;
    }
    // A search looks somewhere: the last kind chosen stays chosen.
    const QSet<Kind> chosen = chosenShown();
    if (!chosen.contains(info->kind))
        m_chosen = chosen + QSet<Kind>{info->kind};
    else if (chosen.size() > 1)
        m_chosen = chosen - QSet<Kind>{info->kind};
}

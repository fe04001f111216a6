#include "forum/cells/HomeContent.h"

#include "app/text/QuoteFormatter.h"
#include "forum/model/Thread.h"

#include <QList>
#include <QPair>

namespace {

// The forum's own threads: title, replies, starter and last post.
class ThreadContentKind : public HomeContentKind {
public:
    std::optional<HomeItemFace> faceOf(const ModelPtr& item) const override
    {
        const auto thread = std::dynamic_pointer_cast<Thread>(item);
        if (!thread)
            return std::nullopt;
        HomeItemFace face;
        face.title = QuoteFormatter::titleText(thread->threadtitle());
        face.number = thread->replies();
        face.byFormatKey = QStringLiteral("thread_by");
        face.user = thread->user();
        face.username = face.user ? face.user->username() : QString();
        face.date = thread->lastdate();
        face.iconName = QStringLiteral("icon_thread.png");
        return face;
    }
    ViewControllerPtr screenFor(const ModelPtr& item) const override
    {
        return ScreenInputs::create(HomeContent::kThreadScreen, item);
    }
};

QList<QPair<QString, std::shared_ptr<HomeContentKind>>>& kinds()
{
    static QList<QPair<QString, std::shared_ptr<HomeContentKind>>> list{
        {QStringLiteral("thread"), std::make_shared<ThreadContentKind>()}};
    return list;
}

}  // namespace

void HomeContent::registerKind(const QString& name, std::shared_ptr<HomeContentKind> kind)
{
    for (auto& entry : kinds()) {
        if (entry.first == name) {
            entry.second = std::move(kind);
            return;
        }
    }
    if (kind)
        kinds().append({name, std::move(kind)});
}

std::optional<HomeItemFace> HomeContent::faceOf(const ModelPtr& item)
{
    if (!item)
        return std::nullopt;
    for (const auto& entry : kinds()) {
        if (entry.second) {
            if (std::optional<HomeItemFace> face = entry.second->faceOf(item))
                return face;
        }
    }
    return std::nullopt;
}

ViewControllerPtr HomeContent::screenFor(const ModelPtr& item)
{
    if (!item)
        return nullptr;
    for (const auto& entry : kinds()) {
        if (entry.second && entry.second->faceOf(item))
            return entry.second->screenFor(item);
    }
    return nullptr;
}

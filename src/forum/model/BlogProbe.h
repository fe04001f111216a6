#pragma once

#include "app/model/Model.h"

#include <QString>

#include <optional>

// Asks the forum for its blog form to learn what the composing screens may
// offer: whether the member may write blog entries, and whether the forum
// shows emoticons. Only the forum's own answer says anything: a refusal or a
// failure leaves both unknown and tells nobody. Going, it drops the question.
class BlogProbe : public Model {
public:
    static inline const QString kMethod = QStringLiteral("blog.post_newblog");

    void send();
    // Asked and not yet answered.
    bool isWaiting() const { return hasRequests(); }
    // The forum answered: the two below say what it said.
    bool hasAnswered() const { return m_answered; }
    bool allowsBlogEntries() const { return m_allowsBlogEntries; }
    // Unknown unless the answer said.
    std::optional<bool> showsEmoticons() const { return m_showsEmoticons; }

private:
    void answer(const HTTPRequestPtr& request);

    bool m_answered = false;
    bool m_allowsBlogEntries = false;
    std::optional<bool> m_showsEmoticons;
};

using BlogProbePtr = std::shared_ptr<BlogProbe>;

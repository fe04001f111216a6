#pragma once

#include "platform/foundation/Value.h"

#include <QSet>
#include <QString>

// The forum API call a request stands for: its method name and the
// parameters that travel in the signed address. A request that knows it can
// be addressed again with the session's current values.
struct ApiCall {
    QString method;
    ValueDict query;

    bool isSet() const { return !method.isEmpty(); }

    // Whether the call only reads what the forum holds, whatever the HTTP
    // method carries it: such a call may reach the forum twice (the HTTP
    // layer sends it again on a line that closed before its answer, as
    // happens to a kept-alive line the server has dropped). Any other call
    // may change the forum and goes out once per send: the session's own
    // calls too, since a second "api_init" opens a second session and a
    // second sign-in counts a wrong password twice.
    bool onlyReads() const
    {
        static const QSet<QString> reads = {
            QStringLiteral("announcement_view"),  QStringLiteral("api_forumlist"),
            QStringLiteral("api_getnewtop"),      QStringLiteral("api_gotonewpost"),
            QStringLiteral("blog_list"),
            QStringLiteral("editpost_editpost"),  QStringLiteral("forum"),
            QStringLiteral("forumdisplay"),       QStringLiteral("inlinemod_moveposts"),
            QStringLiteral("member"),
            QStringLiteral("newreply_newreply"),  QStringLiteral("newthread_newthread"),
            QStringLiteral("profile_buddylist"),  QStringLiteral("register"),
            QStringLiteral("register_checkdate"), QStringLiteral("search_process"),
            QStringLiteral("search_showresults"), QStringLiteral("showthread"),
            QStringLiteral("subscription_viewsubscription"),
        };
        return reads.contains(method);
    }
};

#include "BuilderTestSupport.h"

#include "app/config/Customizer.h"
#include "platform/foundation/AlertView.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/TextFormat.h"

#include <QJsonObject>

const QString TestBuilder::PostMethod = QStringLiteral("newthread_postthread");

void TestBuilder::post()
{
    ++posts;
    uploadsRunningAtPost.append(static_cast<int>(attachmentRequests().size()));
    const ValueDict params{{QStringLiteral("forumid"), Value(QStringLiteral("7"))},
                           {QStringLiteral("message"), Value(message())},
                           {QStringLiteral("posthash"), Value(posthash())}};
    if (postThroughFinishedCreating)
        sendCreating(PostMethod, params);
    else
        requestURL(PostMethod, params, RequestMethod::POST);
}

void BuilderTest::SetUp()
{
    AppTest::SetUp();
    openGuestSession();
    forum().setMethodHandler(Builder::UploadMethod, [](const TestForumRequest&, int) {
        return QJsonObject{{QStringLiteral("response"), QJsonObject{{QStringLiteral("attachmentid"), 1}}}};
    });
    answerPostWith(QStringLiteral("redirect_postthanks"));
    forum().clearLog();
}

std::shared_ptr<TestBuilder> BuilderTest::makeBuilder()
{
    auto builder = Model::create<TestBuilder>();
    builder->setPosthash(QStringLiteral("f00dcafe"));
    builder->setPoststarttime(1700000123);
    builder->setMessage(QStringLiteral("Hello & welcome"));
    builder->addObserver(&observer);
    return builder;
}

void BuilderTest::answerPostWith(const QString& code)
{
    forum().setMethodHandler(TestBuilder::PostMethod, [code](const TestForumRequest&, int) {
        return QJsonObject{{QStringLiteral("response"), QJsonObject{{QStringLiteral("errormessage"), code}}}};
    });
}

QString PostingTest::fateText(const char* key)
{
    const Value name(Customizer::getInstance().appLabel());
    return TextFormat::fill(Bundle::main().localizedString(QString::fromLatin1(key)), {name, name});
}

QStringList PostingTest::noticesShown()
{
    QStringList shown;
    const QString title = Bundle::main().localizedString(QStringLiteral("fate_open_title"));
    for (const std::shared_ptr<AlertView>& alert : AlertView::visibleAlerts()) {
        if (alert->title() == title)
            shown.append(alert->message());
    }
    return shown;
}


#include "PlatformTest.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/DateExtensions.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ManualClock.h"
#include "platform/foundation/SystemClock.h"
#include "platform/foundation/UserDefaults.h"

void PlatformTest::SetUp()
{
    m_processHome = qgetenv("MU_HOME");
    m_home.emplace();
    ASSERT_TRUE(m_home->isValid());
    qputenv("MU_HOME", m_home->path().toUtf8());
    UserDefaults::standard().reload();
    if (m_clockKind == ClockKind::Manual) {
        m_clock = std::make_shared<ManualClock>();
        Clock::install(m_clock);
    } else {
        Clock::install(std::make_shared<SystemClock>());
    }
    dismissAlerts();
    AlertView::setPresenter([this](const std::shared_ptr<AlertView>& alert) { m_shownAlerts.append(alert); });
    Log::clearRecent();
}

void PlatformTest::TearDown()
{
    dismissAlerts();
    AlertView::setPresenter({});
    TestSupport::processEvents();
    Clock::install(nullptr);
    DateExtensions::setDeviceTimeZone(std::nullopt);
    Bundle::main().setInfoValue(QStringLiteral("ZtServerBaseUrl"), Value());
    Bundle::main().setResourcesPath(QString());
    m_home.reset();
    qputenv("MU_HOME", m_processHome);
    UserDefaults::standard().reload();
}

bool PlatformTest::logged(const QString& text)
{
    for (const QString& line : Log::recent()) {
        if (line.contains(text))
            return true;
    }
    return false;
}

QStringList PlatformTest::alertMessages() const
{
    QStringList messages;
    for (const std::shared_ptr<AlertView>& alert : m_shownAlerts)
        messages.append(alert->message());
    return messages;
}

void PlatformTest::dismissAlerts()
{
    for (const std::shared_ptr<AlertView>& alert : AlertView::visibleAlerts())
        alert->dismissWithClickedButtonIndex(0);
}

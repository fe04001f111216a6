#pragma once

#include "QtPrinters.h"
#include "TestSupport.h"
#include "platform/foundation/AlertView.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>

class ManualClock;

// The base of every test fixture: each test starts from fresh platform
// state, a home folder of its own (settings, documents, caches), the
// bundle's own settings and resources, the device's own time zone, no alert
// on screen, an empty log and a clock of its own. The application's fixture (AppTest) builds on it.
//
// The clock is a ManualClock unless the fixture asks for the system clock.
class PlatformTest : public ::testing::Test {
public:
    // Whether a line of the log, since the test began, contains the text.
    static bool logged(const QString& text);
    static bool waitFor(const std::function<bool()>& condition,
                        std::chrono::milliseconds timeout = std::chrono::milliseconds(5000))
    {
        return TestSupport::waitFor(condition, timeout);
    }

protected:
    enum class ClockKind { Manual, System };

    explicit PlatformTest(ClockKind clock = ClockKind::Manual) : m_clockKind(clock) {}
    void SetUp() override;
    void TearDown() override;

    // The manual clock of this test (null with the system clock).
    ManualClock* clock() const { return m_clock.get(); }

    // The alerts shown during this test, in order, and their messages.
    const QList<std::shared_ptr<AlertView>>& shownAlerts() const { return m_shownAlerts; }
    QStringList alertMessages() const;
    static void dismissAlerts();

private:
    ClockKind m_clockKind;
    std::optional<QTemporaryDir> m_home;
    QByteArray m_processHome;
    std::shared_ptr<ManualClock> m_clock;
    QList<std::shared_ptr<AlertView>> m_shownAlerts;
};

#pragma once

#include "UiTestSupport.h"

#include "platform/ui/AlertPresenter.h"

#include "platform/foundation/AlertView.h"

// A phone window whose alerts are drawn in it, as the program draws them;
// what a test leaves up is taken down before the next.
class AlertWindowTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        AlertPresenter::install();
    }
    void TearDown() override
    {
        for (const auto& alert : AlertView::visibleAlerts())
            alert->dismissWithoutButton();
        UiTest::TearDown();
    }
    static AlertOverlay* overlayOf(const std::shared_ptr<AlertView>& alert)
    {
        return qobject_cast<AlertOverlay*>(AlertPresenter::viewFor(alert.get()));
    }
};

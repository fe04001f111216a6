#pragma once

#include "UserInput.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/BarButtonView.h"
#include "platform/ui/SegmentedControl.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

// A click on the button that shows a bar item, wherever the window shows it:
// an item pressed in code would skip what a click meets on its way.
inline void clickBarButton(QWidget* window, const std::shared_ptr<BarButtonItem>& item)
{
    ASSERT_NE(window, nullptr);
    ASSERT_NE(item, nullptr);
    BarButtonView* shown = nullptr;
    for (BarButtonView* view : window->findChildren<BarButtonView*>()) {
        if (view->item() == item && view->isVisible())
            shown = view;
    }
    ASSERT_NE(shown, nullptr) << "no button on screen shows the item " << qPrintable(item->title());
    UserInput::clickWidget(shown);
}

// A click in the middle of a segment, as the user picks it.
inline void clickSegment(SegmentedControl* control, int segment)
{
    ASSERT_NE(control, nullptr);
    ASSERT_TRUE(control->isVisible()) << "a segment off screen takes no click";
    const QPointF middle = control->rectForSegment(segment).center();
    QWidget* top = control->window();
    UserInput::click(top, QPointF(control->mapTo(top, middle.toPoint())));
}

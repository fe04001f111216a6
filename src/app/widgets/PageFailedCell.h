#pragma once

#include "platform/ui/TableViewCell.h"

#include <functional>

class StatusMessageView;

// The one row of a paged list whose first page did not come: it says so,
// with the reason, and offers to load the page again.
class PageFailedCell : public TableViewCell {
    Q_OBJECT
public:
    PageFailedCell();

    // The reason shown, and what the button does.
    void show(const QString& reason, std::function<void()> retry);
    // The row's height at a width, for what it says.
    static qreal heightFor(const QString& reason, qreal width);

    StatusMessageView* status() const { return m_status; }

    void layoutSubviews() override;

private:
    StatusMessageView* m_status;
    std::function<void()> m_retry;
};

#pragma once

#include "forum/cells/ThreadCell.h"

// A thread row of the moderation list: a mark that shows whether the thread
// is chosen, and a band behind a deleted thread.
class SelectThreadCell : public ThreadCell {
    Q_OBJECT
public:
    SelectThreadCell();

    void setSelectedThread(bool selected);
    void setThread(const ThreadPtr& thread) override;

    ImageView* selectedImage() const { return m_selectedImage; }
    View* deletedBg() const { return m_deletedBg; }

protected:
    void selectionShownDidChange() override;

private:
    // The band behind a deleted thread, unless the row shows the selection.
    void showDeletedBand();

    ImageView* m_selectedImage;
    View* m_deletedBg;
};

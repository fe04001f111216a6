#pragma once

#include "platform/ui/TableView.h"
#include "platform/ui/TableViewDataSource.h"

#include <QList>

#include <memory>

class ImageToUpload;

// The pictures the editor will send, one row of preview each; a list to
// look at, not to touch.
class EditorMediaList : public TableView, public TableViewDataSource {
    Q_OBJECT
public:
    static constexpr qreal kRowHeight = 60;

    explicit EditorMediaList(const QRectF& frame);

    void showAttachments(const QList<std::shared_ptr<ImageToUpload>>& attachments);

    int numberOfRowsInSection(TableView* tableView, int section) override;
    TableViewCell* cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;

private:
    QList<std::shared_ptr<ImageToUpload>> m_attachments;
};

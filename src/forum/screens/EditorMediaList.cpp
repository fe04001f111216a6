#include "forum/screens/EditorMediaList.h"

#include "forum/cells/CreateContentMediaPreview.h"

#include "app/widgets/LoadCellNib.h"

EditorMediaList::EditorMediaList(const QRectF& frame) : TableView(frame, TableViewStyle::Grouped)
{
    setObjectName(QStringLiteral("mediaList"));
    setRowHeight(kRowHeight);
    setBackgroundColor(Qt::transparent);
    setOpaque(false);
    setUserInteractionEnabled(false);
    setScrollEnabled(false);
    setDataSource(this);
}

void EditorMediaList::showAttachments(const QList<std::shared_ptr<ImageToUpload>>& attachments)
{
    m_attachments = attachments;
    reloadData();
}

int EditorMediaList::numberOfRowsInSection(TableView*, int)
{
    return int(m_attachments.size());
}

TableViewCell* EditorMediaList::cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    auto* cell = loadCellNibForTableView<CreateContentMediaPreview>(tableView);
    cell->setPreview(m_attachments.value(indexPath.row));
    return cell;
}

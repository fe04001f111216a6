#pragma once

#include <QObject>

class TableView;

// The home list's keys beyond a list's own arrows, Space and Return: Right
// on the marked row hands the keys to the picture of who wrote it, where
// the row shows one that opens a profile (HomeCellPicture gives them back).
// Made on the list, which owns it.
class HomeListKeys : public QObject {
    Q_OBJECT
public:
    explicit HomeListKeys(TableView* list);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TableView* m_list;
};

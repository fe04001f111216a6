#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <QList>
#include <QString>
#include <QTextLayout>

#include <memory>
#include <vector>

// The thread page's yardstick: a list of a thread's posts as a careful Qt
// programmer writes it. Each row's texts are laid out once with QTextLayout
// when the list is filled (in the page's own fonts, emoji drawn by Qt's font
// fallback), the row heights are kept, and a frame draws only the rows in
// view, each from its kept lay-out and only its lines in view. A row: a
// header strip 36 high with the author, the post's text 280 wide below it,
// as a post row places them.
class CarefulList : public QAbstractScrollArea {
public:
    struct Entry {
        QString author;
        QString text;
    };

    static constexpr int kWidth = 320;
    static constexpr qreal kTextLeft = 15;
    static constexpr qreal kTextWidth = 280;
    static constexpr qreal kTextTop = 46;
    static constexpr qreal kBottom = 6;
    static constexpr qreal kHeaderHeight = 36;

    CarefulList(const QFont& bodyFont, const QFont& authorFont);
    ~CarefulList() override;

    // Lays every row out and scrolls to the top.
    void setEntries(const QList<Entry>& entries);
    int contentHeight() const { return m_height; }
    // Whether a scroll moves the drawn pixels and draws only what comes into
    // view, as QListView does, instead of drawing the whole view again.
    void setMovesPixels(bool on) { m_movesPixels = on; }
    int rowCount() const { return int(m_rows.size()); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct Row {
        std::unique_ptr<QTextLayout> author;
        std::unique_ptr<QTextLayout> body;
        int top = 0;
        int height = 0;
    };

    void updateRange();

    QFont m_bodyFont;
    QFont m_authorFont;
    std::vector<Row> m_rows;
    int m_height = 0;
    bool m_movesPixels = false;
};

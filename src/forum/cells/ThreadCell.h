#pragma once

#include "forum/model/Thread.h"

#include "platform/ui/TableViewCell.h"

#include "platform/foundation/WeakRef.h"

#include <QImage>

class ImageView;
class Label;

// A row of a thread list (threads, stickies and announcements): the title
// with its prefix, the starter, the reply count in a balloon, two state icons
// filled from the left and a mark where the member has posted.
class ThreadCell : public TableViewCell {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 48.0;
    // Where the two state icons sit, left to right.
    static inline const QRectF kIcon1Frame = QRectF(212, 28, 16, 16);
    static inline const QRectF kIcon2Frame = QRectF(230, 28, 16, 16);

    ThreadCell();
    ~ThreadCell() override;

    static qreal height() { return kHeight; }

    // Fills the row; the row does not keep the thread alive.
    virtual void setThread(const ThreadPtr& thread);
    ThreadPtr thread() const { return m_thread.lock(); }
    // The picture of each icon place before filling from the left (null: none).
    QImage iconGroup1() const;
    QImage iconGroup2() const;
    // The name of each group's picture, or a null text.
    QString iconGroup1Name() const;
    QString iconGroup2Name() const;

    Label* title() const { return m_title; }
    Label* info() const { return m_info; }
    Label* extraInfo() const { return m_extraInfo; }
    ImageView* icon1() const { return m_icon1; }
    ImageView* icon2() const { return m_icon2; }
    ImageView* replied() const { return m_replied; }
    ImageView* balloon() const { return m_balloon; }

protected:
    // The row's white band stands behind its texts: the chosen row shows the
    // selection instead.
    void selectionShownDidChange() override;

private:
    Label* m_title;
    Label* m_info;
    Label* m_extraInfo;
    ImageView* m_icon1;
    ImageView* m_icon2;
    ImageView* m_replied;
    ImageView* m_balloon;
    std::weak_ptr<Thread> m_thread;
};

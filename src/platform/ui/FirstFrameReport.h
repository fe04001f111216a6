#pragma once

#include <QObject>

class QWidget;

// Tells when a window's first frame is on the screen, for start-up
// measurements: once the window's first paint has been drawn and flushed it
// prints the monotonic clock's reading (CLOCK_MONOTONIC, in seconds) on the
// standard output and quits the application. A measuring program that reads
// the same clock before it starts the process knows the start-up time.
class FirstFrameReport : public QObject {
public:
    // Watches the window (a top-level widget not yet painted); the report
    // is the window's child.
    static void watch(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit FirstFrameReport(QWidget* window);

    bool m_painted = false;
};

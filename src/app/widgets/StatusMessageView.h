#pragma once

#include "platform/ui/View.h"

#include <QString>

class GradientButton;
class Label;

// What a screen shows where its list would be while it has none: a headline
// and a sentence (what to do, that nothing was found, or why loading
// failed), and after a failure a button to try again. It is as tall as what
// it shows at its width.
class StatusMessageView : public View {
    Q_OBJECT
public:
    static constexpr qreal kSideMargin = 24;
    static constexpr qreal kTopMargin = 18;
    static constexpr qreal kGap = 8;
    static constexpr qreal kButtonWidth = 140;
    static constexpr qreal kButtonHeight = 34;

    explicit StatusMessageView(const QRectF& frame = QRectF(0, 0, 320, 100));

    // Both texts; `retry` shows the button.
    void show(const QString& headline, const QString& message, bool retry);
    void setRetryTitle(const QString& title);
    QString headline() const;
    QString message() const;
    bool offersRetry() const;

    Label* headlineLabel() const { return m_headline; }
    Label* messageLabel() const { return m_message; }
    GradientButton* retryButton() const { return m_retry; }

    void layoutSubviews() override;

private:
    // The height of what it shows at the current width.
    qreal contentHeight();

    Label* m_headline;
    Label* m_message;
    GradientButton* m_retry;
};

#pragma once

#include "platform/ui/View.h"

#include <QString>

class Label;

// What a screen shows where its list would be while there is nothing to
// list: a short headline and a sentence that says why, centred in the upper
// part of the view. The view follows its superview's size.
class EmptyStateView : public View {
    Q_OBJECT
public:
    explicit EmptyStateView(const QRectF& frame = QRectF());

    QString headline() const;
    void setHeadline(const QString& headline);
    QString message() const;
    void setMessage(const QString& message);
    // Both texts at once.
    void show(const QString& headline, const QString& message);

    Label* headlineLabel() const { return m_headline; }
    Label* messageLabel() const { return m_message; }

    void layoutSubviews() override;

    static constexpr qreal kSideMargin = 30;
    static constexpr qreal kGap = 8;

private:
    Label* m_headline;
    Label* m_message;
};

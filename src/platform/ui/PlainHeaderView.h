#pragma once

#include "platform/ui/View.h"

class Label;

// The platform's plain section header: a grey bar with a bold white title.
class PlainHeaderView : public View {
public:
    explicit PlainHeaderView(const QString& title);
    void layoutSubviews() override;
    void drawRect(QPainter& painter, const QRectF& rect) override;

private:
    Label* m_label;
};

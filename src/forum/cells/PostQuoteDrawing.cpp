#include "forum/cells/PostQuoteDrawing.h"

#include "forum/cells/PostBodyText.h"
#include "forum/cells/PostTextView.h"

#include "app/config/Customizer.h"
#include "app/widgets/RoundedRectView.h"

#include <QtGlobal>

namespace {

bool isNested(const PostQuote& node)
{
    return node.parent() != nullptr;
}

}  // namespace

QString PostQuoteDrawing::shownText(const PostQuote& node, const QString& part)
{
    // Line breaks around a quoted block are the writer's spacing; the boxes space the text already.
    const QString text = PostBodyText::displayText(part).trimmed();
    if (!text.isEmpty() && isNested(node) && !node.author().isEmpty())
        return node.author() + QStringLiteral(":\n") + text;
    return text;
}

QSizeF PostQuoteDrawing::sizeWithFont(const PostQuote& node, const QFont& font, const QSizeF& size, LineBreakMode)
{
    return QSizeF(size.width(), layOut(node, size.width(), font, nullptr));
}

View* PostQuoteDrawing::createViewInSize(const PostQuote& node, const QSizeF& size, const QFont& font,
                                         const QColor& backdrop)
{
    View* view = nullptr;
    // What the boxes within stand on: this box's fill, or what is under a plain view.
    QColor within = backdrop;
    if (isNested(node)) {
        auto* box = new RoundedRectView();
        box->setCornerRadius(kCornerRadius);
        box->setStrokeColor(Customizer::getInstance().colorForKey(kColorTextPrimary));
        box->setRectColor(Customizer::getInstance().colorForKey(kColorBackgroundQuote));
        box->setBackdropColor(backdrop);
        within = box->rectColor();
        view = box;
    } else {
        view = new View();
        view->setBackgroundColor(Qt::transparent);
        view->setOpaque(false);
    }
    const qreal height = layOut(node, size.width(), font, view, within);
    view->setFrame(QRectF(0, 0, size.width(), height));
    return view;
}

void PostQuoteDrawing::setBackdropColor(View* view, const QColor& backdrop)
{
    for (View* part : view->subviews()) {
        if (auto* box = qobject_cast<RoundedRectView*>(part))
            box->setBackdropColor(backdrop);
    }
}

qreal PostQuoteDrawing::layOut(const PostQuote& node, qreal width, const QFont& font, View* into,
                               const QColor& backdrop)
{
    const qreal inner = qMax<qreal>(0, width - kNestedShrink);
    // Within a box the text keeps clear of its edges, and the text after a
    // box keeps clear of that box.
    qreal y = isNested(node) ? kTopInBox : 0;
    bool afterBox = false;
    for (const PostQuote::Part& part : node.info()) {
        if (part.isQuote()) {
            y += kGapBeforeNested;
            qreal height = 0;
            if (into) {
                View* nested = createViewInSize(*part.quote, QSizeF(inner, 0), font, backdrop);
                height = nested->frame().height();
                nested->setFrame(QRectF(kInset, y, inner, height));
                into->addSubview(nested);
            } else {
                height = layOut(*part.quote, inner, font, nullptr);
            }
            y += height;
            afterBox = true;
        } else if (const QString shown = shownText(node, part.text); !shown.isEmpty()) {
            if (afterBox)
                y += kGapAfterNested;
            afterBox = false;
            qreal height = 0;
            if (into) {
                auto* label = new PostTextView(QRectF(kInset, y, inner, 0));
                label->setFont(font);
                label->setText(shown);
                label->sizeToFitCurrentWidth();
                height = label->frame().height();
                into->addSubview(label);
            } else {
                height = PostTextView::heightForText(shown, font, inner);
            }
            y += height;
        }
    }
    return isNested(node) ? y + kBottom : y;
}

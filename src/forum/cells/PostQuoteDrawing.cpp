#include "forum/cells/PostQuoteDrawing.h"

#include "forum/cells/PostBodyText.h"
#include "forum/cells/PostTextView.h"

#include "app/config/Customizer.h"
#include "app/widgets/RoundedRectView.h"

#include "platform/ui/TextLayout.h"

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

QSizeF PostQuoteDrawing::sizeWithFont(const PostQuote& node, const QFont& font, const QSizeF& size,
                                      LineBreakMode lineBreakMode)
{
    const qreal gap = node.author().isEmpty() ? kGapWithoutAuthor : kGapWithAuthor;
    const qreal inner = qMax<qreal>(0, size.width() - kNestedShrink);
    qreal height = kBottom;
    for (const PostQuote::Part& part : node.info()) {
        if (part.isQuote()) {
            height += sizeWithFont(*part.quote, font, QSizeF(inner, size.height()), lineBreakMode).height();
        } else if (const QString shown = shownText(node, part.text); !shown.isEmpty()) {
            height += TextLayout(shown, font, inner, 0, size.height(), lineBreakMode).height();
        }
        height += gap;
    }
    return QSizeF(size.width(), height);
}

View* PostQuoteDrawing::createViewInSize(const PostQuote& node, const QSizeF& size, const QFont& font)
{
    View* view = nullptr;
    if (isNested(node)) {
        auto* box = new RoundedRectView();
        box->setCornerRadius(kCornerRadius);
        box->setStrokeColor(Customizer::getInstance().colorForKey(kColorTextPrimary));
        box->setRectColor(Customizer::getInstance().colorForKey(kColorBackgroundQuote));
        view = box;
    } else {
        view = new View();
        view->setBackgroundColor(Qt::transparent);
        view->setOpaque(false);
    }
    const qreal inner = qMax<qreal>(0, size.width() - kNestedShrink);
    // Within a box the text keeps clear of its edge, and the text after a
    // box keeps clear of that box.
    qreal y = isNested(node) ? kTopInBox : 0;
    bool afterBox = false;
    for (const PostQuote::Part& part : node.info()) {
        if (part.isQuote()) {
            y += kGapBeforeNested;
            View* nested = createViewInSize(*part.quote, QSizeF(inner, size.height()), font);
            const QSizeF nestedSize = nested->frame().size();
            nested->setFrame(QRectF(kInset, y, nestedSize.width(), nestedSize.height()));
            view->addSubview(nested);
            y += nestedSize.height();
            afterBox = true;
        } else if (const QString shown = shownText(node, part.text); !shown.isEmpty()) {
            if (afterBox)
                y += kGapAfterNested;
            afterBox = false;
            auto* label = new PostTextView(QRectF(kInset, y, inner, 0));
            label->setFont(font);
            label->setText(shown);
            label->sizeToFitCurrentWidth();
            view->addSubview(label);
            y += label->frame().height();
        }
    }
    view->setFrame(QRectF(0, 0, size.width(), y + kBottom));
    return view;
}

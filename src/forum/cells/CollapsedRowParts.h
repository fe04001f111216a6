#pragma once

#include "forum/model/Post.h"

#include <QRectF>
#include <QString>

class GradientButton;
class Label;
class View;

// The parts the two collapsed post rows share: the line under the header and
// the red buttons below it.
namespace CollapsedRowParts {
inline constexpr qreal kDisclaimerY = 40.0;
inline constexpr qreal kButtonY = 61.0;
inline constexpr qreal kButtonHeight = 24.0;

Label* makeDisclaimer(View* content);
GradientButton* makeButton(View* content, const QRectF& frame, const QString& titleKey);
// The line's phrase of that key with the name of the post's author in it.
QString disclaimerFor(const PostPtr& post, const QString& phraseKey);
}  // namespace CollapsedRowParts

#include "forum/cells/PostBodyText.h"

#include <QRegularExpression>
#include <QStringList>

namespace PostBodyText {

QString displayText(const QString& bbcode)
{
    if (!bbcode.contains(u'['))
        return bbcode;
    QString text = bbcode;
    static const QRegularExpression picture(QStringLiteral("\\[img\\][^\\[]*\\[/img\\]"),
                                            QRegularExpression::CaseInsensitiveOption);
    text.replace(picture, QStringLiteral("[picture]"));
    static const QRegularExpression listStart(QStringLiteral("\\s*\\[list(=[^\\]]*)?\\]"),
                                              QRegularExpression::CaseInsensitiveOption);
    text.remove(listStart);
    static const QRegularExpression item(QStringLiteral("\\s*\\[\\*\\]\\s*"));
    text.replace(item, QStringLiteral("\n\u2022 "));
    static const QRegularExpression listEnd(QStringLiteral("\\s*\\[/list\\]"), QRegularExpression::CaseInsensitiveOption);
    text.replace(listEnd, QStringLiteral("\n"));
    static const QRegularExpression pair(
        QStringLiteral("\\[/?(b|i|u|s|color|size|font|highlight|left|center|right|indent|list|code|php|html|"
                       "noparse|url|email|video)(=[^\\]]*)?\\]"),
        QRegularExpression::CaseInsensitiveOption);
    text.remove(pair);
    // A list that started the text leaves a line break before its first item.
    while (text.startsWith(u'\n'))
        text.remove(0, 1);
    return text;
}

}  // namespace PostBodyText

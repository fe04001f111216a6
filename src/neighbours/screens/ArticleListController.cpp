#include "neighbours/screens/ArticleListController.h"

ArticleListController::ArticleListController()
    : StandInSectionController(QStringLiteral("nav_articles"), QStringLiteral("articles_empty_headline"),
                               QStringLiteral("articles_empty_message"))
{
}

#include "neighbours/screens/ArticleListController.h"

ArticleListController::ArticleListController(AppContext& context)
    : StandInSectionController(
          context, QStringLiteral("nav_articles"), QStringLiteral("articles_empty_headline"),
          QStringLiteral("articles_empty_message"))
{
}

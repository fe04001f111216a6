#include "neighbours/screens/MemberBlogHomeViewController.h"

MemberBlogHomeViewController::MemberBlogHomeViewController(AppContext& context)
    : StandInSectionController(
          context, QStringLiteral("member_blog_title"), QStringLiteral("memberblog_empty_headline"),
          QStringLiteral("memberblog_empty_message"))
{
}

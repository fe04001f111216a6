#include "AppTest.h"
#include "Answers.h"

#include "forum/screens/PostDetailsController.h"

#include "app/config/Customizer.h"

// The single post's HTML page, from the post alone.
namespace {
class PostPageTest : public AppTest {};
}  // namespace

TEST_F(PostPageTest, ThePageHoldsTheTextPicturesAndSignatureAndNeverNull)
{
    const QString colour = Customizer::getInstance().colorStringForKey(kColorBackgroundQuote).mid(2);
    ASSERT_EQ(colour.size(), 6);
    const QString head = QStringLiteral(
                             "<html><style type=\"text/css\">body { font: 13px Verdana; color:#333; "
                             "padding-bottom:20px; } .bbcode_quote {background: #%1; border:1px solid "
                             "black;border-bottom-left-radius: 5px 5px;border-bottom-right-radius: 5px "
                             "5px;border-top-left-radius: 5px 5px;border-top-right-radius: 5px 5px;}</style><body>")
                             .arg(colour);

    // Nothing but an id: no "(null)" anywhere, the body 310 wide in a 320 view.
    const PostPtr bare = Model::createWithDictionary<Post>(json(R"({"post":{"postid":1}})"));
    EXPECT_EQ(PostDetailsController::pageForPost(*bare, 320),
              head + QStringLiteral("<div style=\"width:310px\"></div></body></html>"));
    EXPECT_TRUE(PostDetailsController::pageForPost(*bare, 0).contains(QStringLiteral("width:-10px")));

    // Text, pictures (thumbnails then links, each linked to its file) and the
    // signature last; a text holding "%1" stays as written.
    const PostPtr full = Model::createWithDictionary<Post>(json(R"({"post":{"postid":2,
        "message":"<b>Hi</b> 100%1 sure","signature":"<i>bob</i>",
        "thumbnailattachments":[{"url":"attachment.php?attachmentid=1","pictureurl":"attachment.php?attachmentid=1&thumb=1"}],
        "imageattachmentlinks":[{"url":"http://x.org/a\"><script>alert(1)</script>.png"}]}})"));
    EXPECT_EQ(PostDetailsController::picturesForPost(*full),
              QStringLiteral("<a href=\"attachment.php?attachmentid=1\"><img style=\"border:1px solid #eee\" "
                             "src=\"attachment.php?attachmentid=1&thumb=1\"></a><br /><a "
                             "href=\"http://x.org/a&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;.png\"><img "
                             "style=\"border:1px solid #eee\" "
                             "src=\"http://x.org/a&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;.png\"></a>"));
    EXPECT_EQ(PostDetailsController::pageForPost(*full, 300),
              head + QStringLiteral("<div style=\"width:290px\"><b>Hi</b> 100%1 sure</div>")
                  + PostDetailsController::picturesForPost(*full) + QStringLiteral("</body></html><i>bob</i>"));
}

#include "NeighbourScreenTest.h"
#include "NamedView.h"
#include "ControlClicks.h"

#include "app/widgets/SegmentControlHidding.h"
#include "forum/screens/ComposingScreens.h"
#include "forum/screens/CreateContent.h"
#include "forum/screens/EditorPublishArea.h"
#include "app/navigation/ScreenInputs.h"
#include "neighbours/screens/ArticleSettingsController.h"
#include "neighbours/screens/BlogSettingsController.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/ViewControllerRegistry.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

// The new-content screen's blog and article choices, through their settings
// screens: what was chosen shows in the editor, and sending says plainly that
// this forum takes no blog entry or article from the application, keeping
// what was written.
namespace {

// Keys on the keyboard, which the input has.
void typeInto(QWidget* input, const QString& typed)
{
    ASSERT_EQ(QApplication::focusWidget(), input) << "keys go where the keyboard is";
    UserInput::type(typed, input->window());
}

class PublishSettingsTest : public NeighbourScreenTest {
protected:
    void SetUp() override
    {
        NeighbourScreenTest::SetUp();
        ComposingScreens::registerClasses(context());
    }
    void TearDown() override
    {
        for (const QString& name : ComposingScreens::classNames()) {
            ViewControllerRegistry::unregisterClass(name);
            ScreenInputs::unregisterSetter(name);
        }
        dismissAlerts();
        NeighbourScreenTest::TearDown();
    }
    void press(const std::shared_ptr<BarButtonItem>& item)
    {
        ASSERT_NE(item, nullptr);
        clickBarButton(window.get(), item);
    }
    template <typename T>
    T* topAs() const
    {
        return dynamic_cast<T*>(navigation()->topViewController());
    }
    void write(CreateContent& editor)
    {
        tapView(editor.messageTitle());
        typeInto(editor.messageTitle()->findChild<QLineEdit*>(), QStringLiteral("My trip"));
        tapView(editor.content());
        typeInto(editor.content()->findChild<QPlainTextEdit*>(), QStringLiteral("Three days by the sea."));
        editor.content()->resignFirstResponder();
        finishMoving();
    }
};

}  // namespace

TEST_F(PublishSettingsTest, ABlogEntryAndAnArticleShowTheirSettingsAndAreRefusedSayingWhy)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    showAsRoot(std::make_shared<UIViewControllerCommon>());
    const auto editor = std::dynamic_pointer_cast<CreateContent>(ViewControllerRegistry::create(QStringLiteral("CreateContent")));
    ASSERT_NE(editor, nullptr);
    navigation()->pushViewController(editor, true);
    settleAll();
    write(*editor);
    SegmentControlHidding* choice = editor->publishArea()->publishIn();
    ASSERT_EQ(choice->numberOfSegments(), 3) << "the forum's blog form came";

    // The blog's settings: its categories from the forum, a date to publish on.
    clickSegment(choice, EditorPublishArea::Blog);
    finishMoving();
    auto* blog = topAs<BlogSettingsController>();
    ASSERT_NE(blog, nullptr);
    EXPECT_EQ(blog->controller(), editor.get());
    settleAll();
    ASSERT_EQ(blog->categories().size(), 3);
    EXPECT_EQ(blog->categoryTable()->numberOfRowsInSection(0), 3);
    blog->didSelectRowAtIndexPath(blog->categoryTable(), IndexPath{0, 0});
    blog->didSelectRowAtIndexPath(blog->categoryTable(), IndexPath{0, 2});
    clickSegment(blog->publishChoice(), PublishSettingsController::OnDate);
    EXPECT_FALSE(blog->datePicker()->isHidden());
    blog->datePicker()->setDate(QDate(2030, 5, 17));
    finishMoving();
    ASSERT_TRUE(Screenshot::savePNG(window.get(), TestSupport::galleryPath(QStringLiteral("blog-settings.png"))));
    press(blog->navigationItem()->rightBarButtonItem());
    finishMoving();
    ASSERT_EQ(navigation()->topViewController(), editor.get());
    EXPECT_EQ(editor->selContentType(), CreateContent::BlogContent);
    EXPECT_EQ(editor->publishArea()->shownTarget(), editor->publishArea()->selectedBlogOptions());
    EXPECT_EQ(editor->publishArea()->selectedBlogCategorys()->text(), QStringLiteral("Travel,Everyday"));
    EXPECT_EQ(editor->publishArea()->selectedBlogPublishStatus()->text(),
              text("publish_on") + QStringLiteral("\n05/17/30 12:00 PM"));
    ASSERT_TRUE(Screenshot::savePNG(window.get(), TestSupport::galleryPath(QStringLiteral("editor-blog.png"))));

    // Sent: refused, said once and plainly; nothing written is lost.
    press(editor->navigationItem()->rightBarButtonItem());
    settleAll();
    EXPECT_EQ(alertMessages(), QStringList{text("content_sending_unavailable")});
    EXPECT_TRUE(named<ActivityIndicatorView>(editor, "loading")->isHidden());
    EXPECT_EQ(navigation()->topViewController(), editor.get());
    EXPECT_EQ(editor->messageText(), QStringLiteral("Three days by the sea."));
    dismissAlerts();

    // Changed to an article: typed categories, kept as a draft.
    clickSegment(editor->publishArea()->changePublishBlogBtn(), 0);
    finishMoving();
    EXPECT_EQ(editor->blogBuilder(), nullptr);
    clickSegment(choice, EditorPublishArea::Article);
    finishMoving();
    auto* article = topAs<ArticleSettingsController>();
    ASSERT_NE(article, nullptr);
    tapView(article->categoriesField());
    typeInto(article->categoriesField()->findChild<QLineEdit*>(), QStringLiteral("Guides, , Photos"));
    clickSegment(article->publishChoice(), PublishSettingsController::Draft);
    EXPECT_TRUE(article->datePicker()->isHidden());
    press(article->navigationItem()->rightBarButtonItem());
    finishMoving();
    ASSERT_EQ(navigation()->topViewController(), editor.get());
    EXPECT_EQ(editor->selContentType(), CreateContent::ArticleContent);
    EXPECT_EQ(editor->publishArea()->selectedArticleCategorys()->text(), QStringLiteral("Guides, Photos"));
    EXPECT_EQ(editor->publishArea()->selectedArticlePublishStatus()->text(), text("draft"));
    EXPECT_TRUE(named<Button>(editor, "tagsButton")->isEnabled()) << "articles take tags";
    press(editor->navigationItem()->rightBarButtonItem());
    settleAll();
    EXPECT_EQ(alertMessages(), (QStringList{text("content_sending_unavailable"), text("content_sending_unavailable")}));
    EXPECT_EQ(editor->messageText(), QStringLiteral("Three days by the sea."));

    // Back from the settings without "done": nothing is chosen.
    clickSegment(editor->publishArea()->changePublishArticleBtn(), 0);
    clickSegment(choice, EditorPublishArea::Blog);
    finishMoving();
    navigation()->popViewControllerAnimated(true);
    finishMoving();
    EXPECT_EQ(editor->selContentType(), CreateContent::NoContentType);
    EXPECT_EQ(choice->selectedSegmentIndex(), -1);
}

#pragma once

#include "forum/model/Post.h"

#include "app/model/ModelObserver.h"
#include "app/screens/UIViewControllerCommon.h"

#include "platform/ui/TabBar.h"
#include "platform/ui/WebView.h"

#include "platform/foundation/Observation.h"

class AppContext;
class Button;
class ImageView;
class Label;
class TabBarHidding;

// One post alone: a header with its title, the author's name and picture and
// the date, and the post as an HTML page: its text, its pictures linked
// under it, the author's signature last. The page runs no script; a tapped
// link goes through the link veto: an in-app link opens its screen, a web
// link leaves the application for the browser, anything else is refused.
// A tap on the header opens the author's profile.
//
// A tab bar offers what the member may do with the post: report it, reply,
// edit it, quote it (each as the post allows; nothing for a guest, no reply
// nor quote in a closed thread); the bar goes when it offers nothing.
class PostDetailsController : public UIViewControllerCommon,
                              public ModelObserver,
                              public TabBarDelegate,
                              public WebViewDelegate {
public:
    enum Item { Report = 0, Reply = 1, Edit = 2, Quote = 3 };
    // The screens the items open, by class name.
    static inline const QString kReportScreen = QStringLiteral("ReportPost");
    static inline const QString kReplyScreen = QStringLiteral("Reply");
    static inline const QString kEditScreen = QStringLiteral("EditPost");
    static constexpr qreal kHeaderHeight = 50.0;
    static constexpr qreal kWebHeightWithoutAd = 290.0;
    static inline const QString kProfileScreen = QStringLiteral("MyProfile");

    explicit PostDetailsController(AppContext& context);
    ~PostDetailsController() override;

    const PostPtr& post() const { return m_post; }
    // Observes the post; called before the view loads.
    void setPost(const PostPtr& post);

    void buildNib(View* root) override;
    void viewDidLoad() override;
    // Pushes the author's profile, then gives it the author.
    void viewProfile();

    // The page of a post at a web view width: the head with the theme's
    // quote colour, the text in a div of that width less 10, the pictures,
    // the closing tags and the signature. Missing texts are empty; the
    // pictures' addresses are escaped in their attributes.
    static QString pageForPost(const Post& post, int webViewWidth);
    static QString picturesForPost(const Post& post);

    Label* postTitle() const { return m_postTitle; }
    Label* name() const { return m_name; }
    Label* date() const { return m_date; }
    ImageView* avatar() const { return m_avatar; }
    WebView* web() const { return m_web; }
    View* headerBackground() const { return m_headerBackground; }
    Button* headerButton() const { return m_headerButton; }
    TabBarHidding* actions() const { return m_actions; }
    // The page last loaded.
    const QString& page() const { return m_page; }

    void modelHasChanged(Model* model) override;
    void didSelectItem(TabBar* tabBar, const TabBarItemPtr& item) override;
    // Says why: in an alert, and on the page while it has no text (a post
    // that is gone).
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;
    bool shouldStartLoadWithRequest(WebView* webView, const QUrl& url, WebViewNavigationType navigationType) override;
    void adMediationDidFailToReceiveAd(AdMediationView* adView, bool usingBackup) override;

protected:
    // The context the screen was made on, which outlives it.
    AppContext& context() const { return m_context; }

private:
    AppContext& m_context;
    void render();
    // Shows the items the post allows, and the bar when it offers any.
    void updateActions();
    void push(const ViewControllerPtr& screen);
    // Asks for the post's pictures (its author's picture).
    void loadImages();
    // The thread's title (from the answer, for a post known by its id
    // alone), or the post's own for a post outside any thread.
    static QString screenTitle(const Post& post);

    Label* m_postTitle = nullptr;
    Label* m_name = nullptr;
    Label* m_date = nullptr;
    ImageView* m_avatar = nullptr;
    WebView* m_web = nullptr;
    View* m_headerBackground = nullptr;
    Button* m_headerButton = nullptr;
    TabBarHidding* m_actions = nullptr;
    PostPtr m_post;
    QString m_page;
    // The picture address last asked for.
    QString m_askedPicurl;
    // Why the post could not be read, until it is.
    QString m_failure;
    Observation m_postObservation;
};

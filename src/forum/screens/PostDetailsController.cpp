#include "forum/screens/PostDetailsController.h"

#include "app/session/AppContext.h"

#include "forum/model/Thread.h"
#include "forum/screens/Reply.h"

#include "app/model/Config.h"
#include "app/config/ConnectionError.h"
#include "app/config/Customizer.h"
#include "app/navigation/ScreenInputs.h"
#include "app/session/CurrentUser.h"
#include "app/text/Formatter.h"
#include "app/text/QuoteFormatter.h"
#include "app/widgets/TabBarHidding.h"
#include "app/screens/WebLinkVeto.h"

#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/ViewControllerRegistry.h"

#include "platform/foundation/Localized.h"

namespace {

// A value inside a double-quoted attribute: it can neither end the
// attribute nor open a tag. "&" stays, so ordinary addresses are unchanged.
QString attributeValue(const QString& text)
{
    QString escaped = text;
    escaped.replace(u'"', QStringLiteral("&quot;"));
    escaped.replace(u'<', QStringLiteral("&lt;"));
    escaped.replace(u'>', QStringLiteral("&gt;"));
    return escaped;
}

const char* const kHead =
    "<html><style type=\"text/css\">body { font: 13px Verdana; color:#333; padding-bottom:20px; } "
    ".bbcode_quote {background: #%1; border:1px solid black;border-bottom-left-radius: 5px 5px;"
    "border-bottom-right-radius: 5px 5px;border-top-left-radius: 5px 5px;border-top-right-radius: 5px 5px;}"
    "</style><body>";

// The page's head with the theme's quote colour.
QString pageHead()
{
    const QString colour = Customizer::getInstance().colorStringForKey(kColorBackgroundQuote);
    return QString::fromLatin1(kHead).arg(colour.size() > 2 ? colour.mid(2) : QString());
}

}  // namespace

PostDetailsController::PostDetailsController(AppContext& context) : m_context(context) {}

PostDetailsController::~PostDetailsController() = default;

void PostDetailsController::setPost(const PostPtr& post)
{
    if (post == m_post)
        return;
    m_post = post;
    m_postObservation.observe(m_post, this);
    if (!m_post)
        return;
    m_askedPicurl.clear();
    m_failure.clear();
    setTitle(screenTitle(*m_post));
    if (m_postTitle)
        m_postTitle->setText(m_post->title());
    if (m_avatar)
        m_avatar->setImage(m_post->pic().qimage());
}

void PostDetailsController::buildNib(View* root)
{
    m_headerBackground = new View(QRectF(0, 0, 320, kHeaderHeight));
    m_headerBackground->setAutoresizingMask(Autoresizing::FlexibleWidth);
    root->addSubview(m_headerBackground);
    m_avatar = new ImageView(QRectF(6, 6, 38, 38));
    m_avatar->setContentMode(ContentMode::ScaleAspectFill);
    m_avatar->setClipsToBounds(true);
    root->addSubview(m_avatar);
    m_postTitle = new Label(QRectF(52, 6, 262, 18));
    m_postTitle->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 14));
    m_postTitle->setBackgroundColor(Qt::transparent);
    m_postTitle->setOpaque(false);
    root->addSubview(m_postTitle);
    m_name = new Label(QRectF(52, 27, 140, 16));
    m_name->setFont(Font::fontWithName(QStringLiteral("Helvetica"), 12));
    m_name->setBackgroundColor(Qt::transparent);
    m_name->setOpaque(false);
    root->addSubview(m_name);
    m_date = new Label(QRectF(192, 28, 122, 14));
    m_date->setFont(Font::fontWithName(QStringLiteral("Helvetica"), 11));
    m_date->setTextAlignment(TextAlignment::Right);
    m_date->setBackgroundColor(Qt::transparent);
    m_date->setOpaque(false);
    root->addSubview(m_date);
    m_headerButton = new Button(m_headerBackground->frame(), ButtonType::Custom);
    m_headerButton->setAutoresizingMask(Autoresizing::FlexibleWidth);
    root->addSubview(m_headerButton);

    const qreal height = root->frame().height();
    m_web = new WebView(QRectF(0, kHeaderHeight, 320, height - kHeaderHeight));
    m_web->setAutoresizingMask(Autoresizing::FlexibleSize);
    root->addSubview(m_web);

    m_actions = new TabBarHidding(QRectF(0, height - TabBar::kHeight, 320, TabBar::kHeight));
    m_actions->setAutoresizingMask(Autoresizing::FlexibleTopMargin | Autoresizing::FlexibleWidth);
    const auto item = [](const char* title, const char* picture, Item index) {
        return std::make_shared<TabBarItem>(localized(title), ResourceImages::named(QString::fromLatin1(picture)), index);
    };
    m_actions->setItems({item("tabbar_report", "tab_report.png", Report), item("reply", "tab_reply.png", Reply),
                         item("tabbar_edit", "tab_edit.png", Edit), item("tabbar_quote", "tab_quote.png", Quote)});
    m_actions->awakeFromNib();
    // Until the post says what it allows, the bar offers nothing and gives
    // its room to the page.
    for (int index = Report; index <= Quote; ++index)
        m_actions->hideButtonAtIndex(index);
    m_actions->setHidden(true);
    root->addSubview(m_actions);
}

void PostDetailsController::viewDidLoad()
{
    UIViewControllerCommon::viewDidLoad();
    m_web->setDelegate(this);
    m_web->setBounces(false);
    m_actions->setDelegate(this);
    m_headerButton->addTarget(this, &PostDetailsController::viewProfile, ControlEvent::TouchUpInside);
    render();
    loadImages();
    m_date->setTextColor(Customizer::getInstance().colorForKey(kColorTextPrimary));
    m_postTitle->setTextColor(Customizer::getInstance().colorForKey(kColorTextCategory));
    m_headerBackground->setBackgroundColor(Customizer::getInstance().colorForKey(kColorBackgroundQuote));
    requestFooterBanner();
}

QString PostDetailsController::picturesForPost(const Post& post)
{
    QStringList pieces;
    const AttachmentList pictures = post.thumbnailattachments() + post.imageattachmentlinks();
    for (const AttachmentPtr& attachment : pictures) {
        pieces.append(QStringLiteral("<a href=\"%1\"><img style=\"border:1px solid #eee\" src=\"%2\"></a>")
                          .arg(attributeValue(attachment->url()), attributeValue(attachment->picurl())));
    }
    return pieces.join(QStringLiteral("<br />"));
}

QString PostDetailsController::pageForPost(const Post& post, int webViewWidth)
{
    // Each piece goes in whole: a text holding "%1" is never read as a place.
    return pageHead() + QStringLiteral("<div style=\"width:%1px\">").arg(webViewWidth - 10) + post.message()
           + QStringLiteral("</div>") + picturesForPost(post) + QStringLiteral("</body></html>") + post.signature();
}

void PostDetailsController::render()
{
    if (!m_post || !isViewLoaded())
        return;
    const Post& post = *m_post;
    setTitle(screenTitle(post));
    m_postTitle->setText(post.title());
    m_name->setText(post.user() ? post.user()->username() : QString());
    // Without a title the author's name takes the title's line.
    const bool titled = !post.title().trimmed().isEmpty();
    m_postTitle->setHidden(!titled);
    m_name->setFrame(titled ? QRectF(52, 27, 140, 16) : QRectF(52, 9, 140, 18));
    m_name->setFont(titled ? Font::fontWithName(QStringLiteral("Helvetica"), 12)
                           : Font::fontWithName(QStringLiteral("Helvetica-Bold"), 14));
    m_date->setFrame(titled ? QRectF(192, 28, 122, 14) : QRectF(192, 11, 122, 14));
    const int width = m_web ? int(m_web->frame().width()) : 0;
    m_page = post.message().isEmpty() && !m_failure.isEmpty()
                 ? pageHead() + QStringLiteral("<p>%1</p></body></html>").arg(m_failure.toHtmlEscaped())
                 : pageForPost(post, width);
    if (m_web) {
        m_web->loadData(m_page.toUtf8(), QStringLiteral("text/html"), QStringLiteral("utf-8"),
                        context().config().imageURLWithString(QString()));
    }
    m_date->setText(Formatter::defaultFormatter().cellDateFormatter().stringFromDate(post.date()));
    m_avatar->setImage(post.pic().qimage());
    m_avatar->setHidden(post.pic().isNull());
    m_headerButton->setUserInteractionEnabled(post.user() && post.user()->userid() >= 1
                                              && ScreenInputs::canCreate(kProfileScreen));
    updateActions();
}

void PostDetailsController::updateActions()
{
    const ThreadPtr thread = m_post->thread();
    const bool member = context().currentUser()->isMember();
    const bool closed = thread && thread->isClosed();
    const bool shown[] = {
        member && m_post->canReport() && ScreenInputs::canCreate(kReportScreen),
        member && m_post->canReply() && !closed && ScreenInputs::canCreate(kReplyScreen),
        member && m_post->canEdit() && ScreenInputs::canCreate(kEditScreen),
        member && !closed && ScreenInputs::canCreate(kReplyScreen),
    };
    bool any = false;
    for (int index = Report; index <= Quote; ++index) {
        if (shown[index])
            m_actions->showButtonAtIndex(index);
        else
            m_actions->hideButtonAtIndex(index);
        any = any || shown[index];
    }
    m_actions->setHidden(!any);
    // The page ends where the bar begins.
    const QRectF web = m_web->frame();
    const qreal bottom = any ? m_actions->frame().top() : view()->bounds().height();
    m_web->setFrame(QRectF(web.x(), web.y(), web.width(), qMax<qreal>(0, bottom - web.y())));
}

void PostDetailsController::didSelectItem(TabBar*, const TabBarItemPtr& tapped)
{
    if (!m_post)
        return;
    // A post seen outside its thread replies by its own id: the form names the thread.
    const ModelPtr repliedTo = m_post->thread() ? ModelPtr(m_post->thread()) : ModelPtr(m_post);
    switch (m_actions->initialIndexOfItem(tapped)) {
    case Report:
        push(ScreenInputs::create(kReportScreen, m_post));
        break;
    case Reply:
        push(ScreenInputs::create(kReplyScreen, repliedTo));
        break;
    case Edit:
        push(ScreenInputs::create(kEditScreen, m_post));
        break;
    case Quote: {
        const ViewControllerPtr screen = ScreenInputs::create(kReplyScreen, repliedTo);
        push(screen);
        // The quote goes in as the start of the text, ready to be sent as it is.
        if (auto* reply = dynamic_cast<::Reply*>(screen.get()))
            reply->setText(m_post->quote());
        break;
    }
    default:
        break;
    }
}

void PostDetailsController::push(const ViewControllerPtr& screen)
{
    if (screen && navigationController())
        navigationController()->pushViewController(screen, true);
}

void PostDetailsController::viewProfile()
{
    const FriendPtr author = m_post ? m_post->user() : nullptr;
    NavigationController* navigation = navigationController();
    if (!navigation || !author || author->userid() < 1)
        return;
    if (const ViewControllerPtr profile = ViewControllerRegistry::create(kProfileScreen)) {
        navigation->pushViewController(profile, true);
        ScreenInputs::give(*profile, kProfileScreen, author);
    }
}

void PostDetailsController::modelHasChanged(Model* model)
{
    if (!m_post || model != m_post.get())
        return;
    m_failure.clear();
    render();
    // A post known by its id alone learns its picture's address with its answer.
    if (isViewLoaded() && m_post->pic().isNull() && m_post->picurl() != m_askedPicurl)
        loadImages();
}

bool PostDetailsController::modelHasFailedToUpdate(Model* model, const Error& error)
{
    if (!m_post || model != m_post.get())
        return false;
    ConnectionError::showMessage(error);
    m_failure = error.domain();
    render();
    return true;
}

void PostDetailsController::loadImages()
{
    if (!m_post)
        return;
    m_askedPicurl = m_post->picurl();
    m_post->loadImages();
}

QString PostDetailsController::screenTitle(const Post& post)
{
    if (const ThreadPtr thread = post.thread())
        return QuoteFormatter::titleText(thread->threadtitle());
    // A post known by its id alone: its thread's title came with it.
    return post.threadtitle().isEmpty() ? post.title() : QuoteFormatter::titleText(post.threadtitle());
}

bool PostDetailsController::shouldStartLoadWithRequest(WebView* webView, const QUrl& url, WebViewNavigationType type)
{
    return WebLinkVeto::shouldStartLoad(context(), this, webView, url, type);
}

void PostDetailsController::adMediationDidFailToReceiveAd(AdMediationView*, bool)
{
    if (!m_web)
        return;
    const QRectF f = m_web->frame();
    m_web->setFrame(QRectF(f.x(), f.y(), f.width(), kWebHeightWithoutAd));
}

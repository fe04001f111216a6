#include "forum/screens/AnnouncementDetailsController.h"

#include "app/session/AppContext.h"

#include "app/model/Config.h"
#include "app/config/ConnectionError.h"
#include "app/config/Customizer.h"
#include "app/text/Formatter.h"
#include "app/text/QuoteFormatter.h"
#include "app/screens/WebLinkVeto.h"
#include "services/ads/AdMediationView.h"

#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/WebView.h"

AnnouncementDetailsController::AnnouncementDetailsController(AppContext& context) : m_context(context) {}

AnnouncementDetailsController::~AnnouncementDetailsController() = default;

void AnnouncementDetailsController::setAnnouncement(const AnnouncementPtr& announcement)
{
    if (announcement == m_announcement)
        return;
    m_announcement = announcement;
    m_announcementObservation.observe(m_announcement, this);
}

void AnnouncementDetailsController::buildNib(View* root)
{
    const qreal width = root->frame().width();
    m_headerBackground = new View(QRectF(0, 0, width, kHeaderHeight));
    m_headerBackground->setAutoresizingMask(Autoresizing::FlexibleWidth);
    root->addSubview(m_headerBackground);
    m_avatar = new ImageView(QRectF(8, 8, 48, 48));
    m_avatar->setContentMode(ContentMode::ScaleAspectFit);
    root->addSubview(m_avatar);
    m_postTitle = new Label(QRectF(64, 4, width - 72, 36));
    m_postTitle->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 14));
    m_postTitle->setNumberOfLines(2);
    m_postTitle->setLineBreakMode(LineBreakMode::WordWrap);
    m_name = new Label(QRectF(64, 41, 120, 18));
    m_name->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 12));
    m_date = new Label(QRectF(186, 41, width - 194, 18));
    m_date->setFont(Font::fontWithName(QStringLiteral("Helvetica"), 11));
    m_date->setTextAlignment(TextAlignment::Right);
    for (Label* label : {m_postTitle, m_name, m_date}) {
        label->setBackgroundColor(Qt::transparent);
        label->setOpaque(false);
        root->addSubview(label);
    }
    m_web = new WebView(QRectF(0, kHeaderHeight, width, root->frame().height() - kHeaderHeight));
    m_web->setAutoresizingMask(Autoresizing::FlexibleSize);
    root->addSubview(m_web);
}

void AnnouncementDetailsController::viewDidLoad()
{
    UIViewControllerCommon::viewDidLoad();
    Customizer& theme = Customizer::getInstance();
    m_date->setTextColor(theme.colorForKey(kColorTextPrimary));
    m_postTitle->setTextColor(theme.colorForKey(kColorTextCategory));
    m_name->setTextColor(theme.colorForKey(kColorTextPrimary));
    m_headerBackground->setBackgroundColor(theme.colorForKey(kColorBackgroundQuote));
    m_web->setDelegate(this);
    if (m_announcement)
        m_announcement->fetchData();
    requestFooterBanner();
    updateLayout();
}

void AnnouncementDetailsController::updateLayout()
{
    if (AdMediationView* banner = footerBanner()) {
        const QRectF b = banner->frame();
        banner->setFrame(QRectF(b.x(), kBannerBottom - b.height(), b.width(), b.height()));
    }
}

void AnnouncementDetailsController::showAnnouncement()
{
    if (!isViewLoaded() || !m_announcement)
        return;
    const Announcement& a = *m_announcement;
    m_postTitle->setText(QuoteFormatter::stripTags(a.title()));
    m_avatar->setImage(a.avatar().qimage());
    m_name->setText(a.username());
    // An announcement that never came has no date to show.
    m_date->setText(a.postdate().isEmpty() ? QString()
                                           : Formatter::defaultFormatter().cellDateFormatter().stringFromDate(a.date()));
    if (a.message() != m_shownMessage || m_shownMessage.isNull()) {
        m_shownMessage = a.message().isNull() ? QStringLiteral("") : a.message();
        m_web->loadHTMLString(m_shownMessage, context().config().imageURLWithString(QString()));
    }
}

void AnnouncementDetailsController::modelHasChanged(Model* model)
{
    if (m_announcement && model == m_announcement.get())
        showAnnouncement();
}

bool AnnouncementDetailsController::modelHasFailedToUpdate(Model*, const Error& error)
{
    ConnectionError::showMessage(error);
    return true;
}

bool AnnouncementDetailsController::shouldStartLoadWithRequest(WebView* webView, const QUrl& url,
                                                               WebViewNavigationType navigationType)
{
    return WebLinkVeto::shouldStartLoad(context(), this, webView, url, navigationType);
}

#pragma once

#include "app/model/ModelObserver.h"
#include "app/screens/UIViewControllerCommon.h"
#include "forum/model/Announcement.h"

#include "platform/ui/WebView.h"

#include "platform/foundation/Observation.h"

class AppContext;
class ImageView;
class Label;

// One announcement of a forum: its title, author, date and text, fetched
// when the screen opens ("announcement_view"). The screen follows the
// announcement: its author's picture shows when it arrives, and a failure
// is told. Its links go where a post's links go: an in-app link opens its
// screen through the link router, a web link opens outside the application,
// anything else is refused with a word.
class AnnouncementDetailsController : public UIViewControllerCommon, public ModelObserver, public WebViewDelegate {
public:
    // The footer banner's bottom edge.
    static constexpr qreal kBannerBottom = 417;
    static constexpr qreal kHeaderHeight = 64;

    explicit AnnouncementDetailsController(AppContext& context);
    ~AnnouncementDetailsController() override;

    const AnnouncementPtr& announcement() const { return m_announcement; }
    // Shows and follows the announcement; given before the screen is pushed.
    void setAnnouncement(const AnnouncementPtr& announcement);

    void buildNib(View* root) override;
    void viewDidLoad() override;
    // Places the footer banner.
    void updateLayout();

    void modelHasChanged(Model* model) override;
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;
    bool shouldStartLoadWithRequest(WebView* webView, const QUrl& url, WebViewNavigationType navigationType) override;

    Label* postTitle() const { return m_postTitle; }
    Label* name() const { return m_name; }
    Label* date() const { return m_date; }
    ImageView* avatar() const { return m_avatar; }
    WebView* web() const { return m_web; }
    View* headerBackground() const { return m_headerBackground; }

protected:
    // The context the screen was made on, which outlives it.
    AppContext& context() const { return m_context; }

private:
    AppContext& m_context;
    void showAnnouncement();

    Label* m_postTitle = nullptr;
    Label* m_name = nullptr;
    Label* m_date = nullptr;
    ImageView* m_avatar = nullptr;
    WebView* m_web = nullptr;
    View* m_headerBackground = nullptr;
    AnnouncementPtr m_announcement;
    QString m_shownMessage;
    Observation m_announcementObservation;
};

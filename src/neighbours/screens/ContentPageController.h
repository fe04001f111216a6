#pragma once

#include "app/model/Model.h"
#include "app/screens/UIViewControllerCommon.h"

#include "platform/ui/WebView.h"

#include "platform/foundation/Observation.h"

#include <QDateTime>
#include <QPointer>
#include <QString>

#include <memory>

class AppContext;
class EmptyStateView;
class Label;

// The screen of one piece of forum content shown as a page (an article, a
// blog entry): its title and byline on top, its text below in a web view
// whose tapped links go through the link veto the post page uses. It
// observes its content's model and shows it again whenever it changes; while
// there is no text it says why (still loading, failed, not available).
class ContentPageController : public UIViewControllerCommon, public WebViewDelegate, public ModelObserver {
public:
    static constexpr qreal kMargin = 10;

    explicit ContentPageController(AppContext& context);
    ~ContentPageController() override;

    void buildNib(View* root) override;
    void viewDidLoad() override;

    void modelHasChanged(Model* model) override;
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;
    bool shouldStartLoadWithRequest(WebView* webView, const QUrl& url, WebViewNavigationType navigationType) override;

    Label* titleLabel() const { return m_title; }
    Label* bylineLabel() const { return m_byline; }
    WebView* webView() const { return m_web; }
    EmptyStateView* emptyState() const { return m_emptyState; }
    // The page's HTML as last loaded (empty while none is shown).
    QString pageHtml() const { return m_html; }

    // "by NAME · DAY · N comments", leaving out what is unknown.
    static QString byline(const QString& author, const QDateTime& date, int comments);
    // The body in a page of its own.
    static QString page(const QString& body);
    // Without a picture provider no picture can be shown: each picture
    // gives way to its alternative text (a smiley's code), never a broken frame.
    static QString withoutPictures(const QString& html);

protected:
    // The context the screen was made on, which outlives it.
    AppContext& context() const { return m_context; }

    // What the page shows now.
    struct Content {
        QString title;
        QString author;
        QDateTime date;
        int comments = -1;
        QString bodyHtml;
    };
    virtual Content content() const = 0;
    // The keys of the state shown when there is no text and the model has
    // nothing on its way.
    virtual QString missingTextKey() const = 0;
    virtual QString missingTextMessageKey() const = 0;
    // A bar under the page (an article's page selector), or null; asked each
    // time the page is shown. The screen keeps the bar; the page places it.
    virtual View* pageFooter() { return nullptr; }

    // Observes the model instead of the former one (nothing for null) and shows it.
    void observe(const ModelPtr& model);
    const ModelPtr& observed() const { return m_model; }
    // Shows the content again.
    void refresh();

private:
    AppContext& m_context;
    ModelPtr m_model;
    QString m_failure;
    QString m_html;
    Label* m_title = nullptr;
    Label* m_byline = nullptr;
    WebView* m_web = nullptr;
    EmptyStateView* m_emptyState = nullptr;
    QPointer<View> m_footer;
    Observation m_modelObservation;
};

#pragma once

#include "app/screens/UIViewControllerCommon.h"

#include "app/widgets/FieldLinkPage.h"

#include "platform/ui/WebView.h"

class AppContext;

// The page a form's link row opens (the forum's rules): the HTML in a web
// view on the forum's address, in the forms' small page style. The page
// answers its own web view through the link veto: an in-app link opens its
// screen, a web link opens outside the application, anything else is refused.
class FieldLinkDetails : public UIViewControllerCommon, public WebViewDelegate, public FieldLinkPage {
public:
    explicit FieldLinkDetails(AppContext& context);
    FieldLinkDetails(AppContext& context, const QString& title, const QString& html);

    // The link row's page, as its row opens it (by class name).
    void setPage(const QString& title, const QString& html) override;

    void buildNib(View* root) override;
    void viewDidLoad() override;

    WebView* web() const { return m_web; }
    // The whole page given to the web view, its addresses marked where
    // they may wrap (AddressBreaks).
    static QString page(const QString& html);

    bool shouldStartLoadWithRequest(WebView* webView, const QUrl& url, WebViewNavigationType navigationType) override;

protected:
    // The context the screen was made on, which outlives it.
    AppContext& context() const { return m_context; }

private:
    AppContext& m_context;
    QString m_html;
    WebView* m_web = nullptr;
};

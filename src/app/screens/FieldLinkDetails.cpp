#include "app/screens/FieldLinkDetails.h"

#include "app/session/AppContext.h"

#include "app/model/Config.h"
#include "app/text/AddressBreaks.h"
#include "app/screens/WebLinkVeto.h"

#include "platform/foundation/Localized.h"

FieldLinkDetails::FieldLinkDetails(AppContext& context) : m_context(context) {}

FieldLinkDetails::FieldLinkDetails(AppContext& context, const QString& title, const QString& html)
    : m_context(context)
{
    setPage(title, html);
}

void FieldLinkDetails::setPage(const QString& title, const QString& html)
{
    setTitle(title);
    m_html = html;
}

void FieldLinkDetails::buildNib(View* root)
{
    m_web = new WebView(root->bounds());
    m_web->setAutoresizingMask(Autoresizing::FlexibleSize);
    root->addSubview(m_web);
}

QString FieldLinkDetails::page(const QString& html)
{
    static const QString head = QStringLiteral(
        "<html><head><style type=\"text/css\">"
        "body { font: 13px Verdana; color:#333; padding-bottom:20px; }"
        "</style></head><body>");
    // A long address wraps at its separators, never inside its scheme.
    return head + AddressBreaks::markedHtml(html) + QStringLiteral("</body></html>");
}

void FieldLinkDetails::viewDidLoad()
{
    UIViewControllerCommon::viewDidLoad();
    m_web->setBackgroundColor(Qt::white);
    m_web->setDelegate(this);
    // A page without text says so rather than stay blank.
    const QString body = m_html.trimmed().isEmpty()
                             ? QStringLiteral("<p>") + localized("reg_no_rules").toHtmlEscaped()
                                   + QStringLiteral("</p>")
                             : m_html;
    m_web->loadHTMLString(page(body), context().config().imageURLWithString(QString()));
    m_web->stringByEvaluatingJavaScriptFromString(QStringLiteral("window.alert=null;"));
}

bool FieldLinkDetails::shouldStartLoadWithRequest(WebView* webView, const QUrl& url,
                                                  WebViewNavigationType navigationType)
{
    return WebLinkVeto::shouldStartLoad(context(), this, webView, url, navigationType);
}

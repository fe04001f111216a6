#include "platform/ui/WebView.h"

#include "platform/ui/Application.h"
#include "platform/ui/Font.h"
#include "platform/ui/WebPageBrowser.h"

#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextDocument>

namespace {

std::shared_ptr<WebImageProvider>& provider()
{
    static std::shared_ptr<WebImageProvider> instance;
    return instance;
}

}  // namespace

WebView::WebView(const QRectF& frame) : View(frame)
{
    m_browser = new WebPageBrowser(this);
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);
    m_browser->setFrameShape(QFrame::NoFrame);
    m_browser->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_browser->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_browser->setFont(Font::systemFontOfSize(15));
    m_browser->document()->setDocumentMargin(8);
    m_browser->show();
    setBackgroundColor(Qt::white);
    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) { clickLink(url); });
    layoutSubviews();
}

QString WebView::withoutScripts(const QString& html)
{
    QString clean = html;
    static const QRegularExpression scripts(QStringLiteral("<script\\b[^>]*>.*?</script\\s*>|<script\\b[^>]*/?>"),
                                            QRegularExpression::CaseInsensitiveOption
                                                | QRegularExpression::DotMatchesEverythingOption);
    clean.remove(scripts);
    static const QRegularExpression handlers(QStringLiteral("\\son[a-z]+\\s*=\\s*(\"[^\"]*\"|'[^']*'|[^\\s>]+)"),
                                             QRegularExpression::CaseInsensitiveOption);
    clean.remove(handlers);
    return clean;
}

void WebView::loadHTMLString(const QString& html, const QUrl& baseURL)
{
    m_baseURL = baseURL;
    m_html = withoutScripts(html);
    if (WebViewDelegate* d = m_delegate.get())
        d->webViewDidStartLoad(this);
    m_browser->setPage(m_html, baseURL);
    if (WebViewDelegate* d = m_delegate.get())
        d->webViewDidFinishLoad(this);
}

void WebView::loadData(const QByteArray& data, const QString& mimeType, const QString& encoding, const QUrl& baseURL)
{
    const QString text = QString::fromUtf8(data);
    if (mimeType.startsWith(QStringLiteral("text/html")))
        loadHTMLString(text, baseURL);
    else
        loadHTMLString(text.toHtmlEscaped().prepend(QStringLiteral("<pre>")).append(QStringLiteral("</pre>")), baseURL);
}

QString WebView::stringByEvaluatingJavaScriptFromString(const QString&)
{
    return QString();
}

QString WebView::shownText() const
{
    return m_browser->toPlainText();
}

QSizeF WebView::contentSize() const
{
    return m_browser->contentSize();
}

QList<QRectF> WebView::lineFrames() const
{
    return m_browser->lineFrames();
}

QList<QRectF> WebView::pictureFrames() const
{
    return m_browser->pictureFrames();
}

QList<QRectF> WebView::boxFrames() const
{
    return m_browser->boxFrames();
}

void WebView::clickLink(const QUrl& link)
{
    const QUrl url = m_baseURL.resolved(link);
    if (WebViewDelegate* d = m_delegate.get()) {
        if (!d->shouldStartLoadWithRequest(this, url, WebViewNavigationType::LinkClicked))
            return;
    }
    if (link.toString().startsWith(QLatin1Char('#'))) {
        m_browser->scrollToAnchor(link.fragment());
        return;
    }
    if (url.isLocalFile()) {
        QFile file(url.toLocalFile());
        if (file.open(QIODevice::ReadOnly)) {
            loadHTMLString(QString::fromUtf8(file.readAll()), url);
            return;
        }
    }
    Application::sharedApplication().openURL(url);
}

void WebView::setImageProvider(std::shared_ptr<WebImageProvider> p)
{
    provider() = std::move(p);
}

WebImageProvider* WebView::imageProvider()
{
    return provider().get();
}

void WebView::layoutSubviews()
{
    const QRectF b = bounds();
    m_browser->setGeometry(QRect(qRound(b.x()), qRound(b.y()), qRound(b.width()), qRound(b.height())));
}

#include "platform/ui/WebView.h"

#include "platform/ui/Application.h"
#include "platform/ui/Font.h"
#include "platform/ui/WebPageBrowser.h"
#include "platform/ui/WebPageMarkup.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextLayout>

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
    connect(m_browser, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& url) { clickLink(m_browser->takeActivatedLink(url)); });
    layoutSubviews();
}

QString WebView::withoutScripts(const QString& html)
{
    return WebPageMarkup::withoutScripts(html);
}

void WebView::loadHTMLString(const QString& html, const QUrl& baseURL)
{
    m_baseURL = baseURL;
    if (WebViewDelegate* d = m_delegate.get())
        d->webViewDidStartLoad(this);
    m_browser->setPage(html, baseURL);
    if (WebViewDelegate* d = m_delegate.get())
        d->webViewDidFinishLoad(this);
}

bool WebView::lastPartShown() const
{
    return m_browser->lastPartShown();
}

int WebView::shownPart() const
{
    return m_browser->shownPart();
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

void WebView::clickLink(const QUrl& url)
{
    clickLink(url.toString(QUrl::FullyEncoded));
}

void WebView::clickLink(const QString& link)
{
    // The links between the parts of a long page are the view's own.
    if (m_browser->followPartLink(link))
        return;
    const QUrl written(link);
    const QUrl url = m_baseURL.resolved(written);
    if (WebViewDelegate* d = m_delegate.get()) {
        QPointer<WebView> self(this);
        m_followedLink = link;
        const bool follow = d->shouldStartLoadWithRequest(this, url, WebViewNavigationType::LinkClicked);
        if (!self)
            return;
        m_followedLink.clear();
        if (!follow)
            return;
    }
    if (link.startsWith(QLatin1Char('#'))) {
        m_browser->scrollToAnchor(written.fragment());
        return;
    }
    // The desktop takes web addresses only (openURL refuses the rest).
    Application::sharedApplication().openURL(url);
}

bool WebView::canBecomeFirstResponder() const
{
    return m_browser->hasLinks();
}

bool WebView::becomeFirstResponder()
{
    if (!canBecomeFirstResponder())
        return false;
    // Keyboard::moveFocus says no direction: the Shift held for the press
    // that brought the keys here does.
    const bool backward = QGuiApplication::keyboardModifiers() & Qt::ShiftModifier;
    m_browser->setFocus(Qt::OtherFocusReason);
    m_browser->markLinkFromEdge(!backward);
    return true;
}

bool WebView::resignFirstResponder()
{
    if (m_browser->hasFocus())
        m_browser->clearFocus();
    return View::resignFirstResponder();
}

bool WebView::isFirstResponder() const
{
    return m_browser->hasFocus() || View::isFirstResponder();
}

QList<std::pair<QString, QRectF>> WebView::linkFrames() const
{
    QList<std::pair<QString, QRectF>> frames;
    const QTextDocument* page = m_browser->document();
    (void)m_browser->contentSize();
    const QPointF offset(-m_browser->horizontalScrollBar()->value(), -m_browser->verticalScrollBar()->value());
    for (QTextBlock block = page->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        for (auto it = block.begin(); layout && !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString href = fragment.charFormat().anchorHref();
            if (!fragment.isValid() || href.isEmpty())
                continue;
            const int start = fragment.position() - block.position();
            const QTextLine line = layout->lineForTextPosition(start);
            if (!line.isValid())
                continue;
            const qreal left = line.cursorToX(start);
            const qreal right = line.cursorToX(qMin(start + fragment.length(), line.textStart() + line.textLength()));
            const QRectF inPage(layout->position() + QPointF(left, line.y()), QSizeF(right - left, line.height()));
            frames.append({href, inPage.translated(offset + QPointF(m_browser->geometry().topLeft()))});
        }
    }
    return frames;
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

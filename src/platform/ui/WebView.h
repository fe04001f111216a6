#pragma once

#include "platform/ui/View.h"

#include <QImage>
#include <QList>
#include <QRectF>
#include <QUrl>

#include <functional>
#include <memory>
#include <utility>

class WebPageBrowser;
class WebView;

enum class WebViewNavigationType { LinkClicked = 0, FormSubmitted, BackForward, Reload, FormResubmitted, Other };

// Asked before the web view follows a link, and told when a page is shown.
class WebViewDelegate : public virtual Trackable {
public:
    // False keeps the page where it is.
    virtual bool shouldStartLoadWithRequest(WebView* webView, const QUrl& url, WebViewNavigationType navigationType)
    {
        return true;
    }
    virtual void webViewDidStartLoad(WebView* webView) {}
    virtual void webViewDidFinishLoad(WebView* webView) {}
};

// Gives a web view the pictures of its pages. The application installs one
// (over its image cache); without one, pages show no remote pictures.
class WebImageProvider {
public:
    virtual ~WebImageProvider() = default;
    // The picture when it is at hand; else a null image, and `ready` is called
    // later with the picture (possibly never).
    virtual QImage imageForUrl(const QUrl& url, std::function<void(const QImage&)> ready) = 0;
};

// Shows an HTML page given as text with a base address, in the platform's
// rich-text view. Pages are hostile input. A page runs no scripts, ever: its
// scripts are dropped and evaluating a script does nothing and answers the
// empty text, so a page can never open an alert. A link is followed only
// when the delegate agrees: an anchor on the page scrolls there, a web
// address is opened outside the application, and nothing else is followed.
// A page never reaches a file on the disk: its pictures come from the
// installed provider, by web address only. Its nesting is bounded (deep
// quotes drawn flat) and a long page is shown a part at a time, with links
// between the parts, so that no page can hold the application up. Pictures
// are never wider than the line they stand on, and lines keep their height
// while pictures arrive.
class WebView : public View {
    Q_OBJECT
public:
    explicit WebView(const QRectF& frame = QRectF());

    WebViewDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(WebViewDelegate* delegate) { m_delegate = WeakRef<WebViewDelegate>(delegate); }

    void loadHTMLString(const QString& html, const QUrl& baseURL);
    void loadData(const QByteArray& data, const QString& mimeType, const QString& encoding, const QUrl& baseURL);
    QString stringByEvaluatingJavaScriptFromString(const QString& script);
    QUrl baseURL() const { return m_baseURL; }
    // The page's text as shown (tests).
    QString shownText() const;
    // The laid-out page: its size, its lines and its pictures, in the page's
    // coordinates (tests).
    QSizeF contentSize() const;
    QList<QRectF> lineFrames() const;
    QList<QRectF> pictureFrames() const;
    // The boxes drawn for blocks with a border, outer ones first (tests).
    QList<QRectF> boxFrames() const;
    // Follows a link as a tap does: the link as the page wrote it, or its address.
    void clickLink(const QString& link);
    void clickLink(const QUrl& url);
    // The link being followed as the page wrote it, while the delegate is
    // asked about it (its address has lost how its scheme was written);
    // else the empty text.
    QString followedLink() const { return m_followedLink; }
    // Where the links of the page stand, in the view's coordinates, with the
    // links as the page wrote them (tests).
    QList<std::pair<QString, QRectF>> linkFrames() const;
    bool scalesPageToFit() const { return false; }
    void setScalesPageToFit(bool) {}
    void setBounces(bool) {}

    static void setImageProvider(std::shared_ptr<WebImageProvider> provider);
    static WebImageProvider* imageProvider();
    // The page without its scripts and script attributes, its text unchanged.
    static QString withoutScripts(const QString& html);
    // A long page is shown a part at a time: the part shown (from 0), and
    // whether the page ends there.
    int shownPart() const;
    bool lastPartShown() const;

    void layoutSubviews() override;

    // A page with links is a stop of Tab's: Tab into it marks its first
    // link, Shift+Tab its last one, and the keys go on from link to link
    // and, past the ends, round the screen. Return follows the marked link.
    bool canBecomeFirstResponder() const override;
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    bool isFirstResponder() const override;

private:
    WebPageBrowser* m_browser;
    WeakRef<WebViewDelegate> m_delegate;
    QUrl m_baseURL;
    QString m_followedLink;
};

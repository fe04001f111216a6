#include "neighbours/screens/ContentPageController.h"

#include "app/session/AppContext.h"

#include "neighbours/screens/EmptyStateView.h"

#include "app/model/Config.h"
#include "app/config/ConnectionError.h"
#include "app/config/Customizer.h"
#include "app/text/Formatter.h"
#include "app/widgets/SizeToFitFixedWidth.h"
#include "app/screens/WebLinkVeto.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

#include "platform/foundation/Localized.h"
#include "platform/foundation/TextFormat.h"

#include <QRegularExpression>

ContentPageController::ContentPageController(AppContext& context) : m_context(context) {}

ContentPageController::~ContentPageController() = default;

void ContentPageController::buildNib(View* root)
{
    Customizer& theme = Customizer::getInstance();
    const qreal width = root->bounds().width() - 2 * kMargin;
    m_title = new Label(QRectF(kMargin, 8, width, 22));
    m_title->setFont(Font::boldSystemFontOfSize(17));
    m_title->setTextColor(theme.colorForKey(kColorTextTitle));
    m_title->setBackgroundColor(Qt::transparent);
    m_title->setOpaque(false);
    root->addSubview(m_title);
    m_byline = new Label(QRectF(kMargin, 32, width, 16));
    m_byline->setFont(Font::systemFontOfSize(12));
    m_byline->setTextColor(theme.colorForKey(kColorTextSecondary));
    m_byline->setBackgroundColor(Qt::transparent);
    m_byline->setOpaque(false);
    root->addSubview(m_byline);
    m_web = new WebView(QRectF(0, 56, root->bounds().width(), root->bounds().height() - 56));
    m_web->setAutoresizingMask(Autoresizing::FlexibleSize);
    root->addSubview(m_web);
    m_emptyState = new EmptyStateView(m_web->frame());
    root->addSubview(m_emptyState);
}

void ContentPageController::viewDidLoad()
{
    UIViewControllerCommon::viewDidLoad();
    m_web->setDelegate(this);
    refresh();
    requestFooterBanner();
}

void ContentPageController::observe(const ModelPtr& model)
{
    m_model = model;
    m_failure.clear();
    m_modelObservation.observe(m_model, this);
    refresh();
}

void ContentPageController::modelHasChanged(Model* model)
{
    if (!m_model || model != m_model.get())
        return;
    m_failure.clear();
    refresh();
}

bool ContentPageController::modelHasFailedToUpdate(Model* model, const Error& error)
{
    if (!m_model || model != m_model.get())
        return false;
    ConnectionError::showMessage(error);
    m_failure = error.domain();
    refresh();
    return true;
}

bool ContentPageController::shouldStartLoadWithRequest(WebView* webView, const QUrl& url,
                                                       WebViewNavigationType navigationType)
{
    return WebLinkVeto::shouldStartLoad(context(), this, webView, url, navigationType);
}

QString ContentPageController::byline(const QString& author, const QDateTime& date, int comments)
{
    QStringList parts;
    if (!author.isEmpty())
        parts.append(TextFormat::fill(localized("content_by"), {Value(author)}));
    const QString when = Formatter::defaultFormatter().cellDateOnlyFormatter().stringFromDate(date);
    if (!when.isEmpty())
        parts.append(when);
    if (comments == 1)
        parts.append(localized("content_one_comment"));
    else if (comments >= 0)
        parts.append(TextFormat::fill(localized("content_comments"), {Value(comments)}));
    return parts.join(QStringLiteral(" \u00B7 "));
}

QString ContentPageController::page(const QString& body)
{
    return QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body>%1</body></html>").arg(body);
}

QString ContentPageController::withoutPictures(const QString& html)
{
    static const QRegularExpression picture(QStringLiteral("<img\\b[^>]*>"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression alt(QStringLiteral("\\balt\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)')"),
                                        QRegularExpression::CaseInsensitiveOption);
    QString out;
    qsizetype last = 0;
    for (auto it = picture.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(html).mid(last, m.capturedStart() - last);
        const QRegularExpressionMatch text = alt.match(m.captured(0));
        // The attribute's text is HTML already.
        if (text.hasMatch())
            out += text.captured(1).isNull() ? text.captured(2) : text.captured(1);
        last = m.capturedEnd();
    }
    out += QStringView(html).mid(last);
    return out;
}

void ContentPageController::refresh()
{
    if (!isViewLoaded())
        return;
    const Content now = content();
    const QRectF root = view()->bounds();
    const qreal width = root.width() - 2 * kMargin;
    // A long title takes two lines; the byline and the page move down.
    m_title->setText(now.title);
    m_title->setFrame(QRectF(kMargin, 8, width, 0));
    sizeToFitFixedWidth(m_title, width);
    m_title->setNumberOfLines(2);
    m_title->setLineBreakMode(LineBreakMode::TailTruncation);
    const qreal titleHeight = qMin(m_title->frame().height(), 2 * Font::lineHeight(m_title->font()) + 1);
    m_title->setFrame(QRectF(kMargin, 8, width, qMax<qreal>(titleHeight, 22)));
    const qreal bylineTop = m_title->frame().bottom() + 2;
    m_byline->setText(byline(now.author, now.date, now.comments));
    m_byline->setFrame(QRectF(kMargin, bylineTop, width, 16));
    const bool hasText = !now.bodyHtml.trimmed().isEmpty();
    View* footer = hasText ? pageFooter() : nullptr;
    if (m_footer && m_footer != footer)
        m_footer->removeFromSuperview();
    m_footer = footer;
    const qreal footerHeight = footer ? footer->frame().height() : 0;
    if (footer) {
        if (footer->superview() != view())
            view()->addSubview(footer);
        footer->setFrame(QRectF(0, root.height() - footerHeight, root.width(), footerHeight));
    }
    const qreal webTop = bylineTop + 16 + 8;
    m_web->setFrame(QRectF(0, webTop, root.width(), root.height() - webTop - footerHeight));
    m_emptyState->setFrame(m_web->frame());

    m_web->setHidden(!hasText);
    m_emptyState->setHidden(hasText);
    if (hasText) {
        const QString html = page(WebView::imageProvider() ? now.bodyHtml : withoutPictures(now.bodyHtml));
        if (html != m_html) {
            m_html = html;
            m_web->loadHTMLString(html, context().config().imageURLWithString(QString()));
        }
        return;
    }
    m_html.clear();
    if (m_model && m_model->hasRequests())
        m_emptyState->show(localized("loading"), QString());
    else if (!m_failure.isEmpty())
        m_emptyState->show(localized("content_failed_headline"), m_failure);
    else
        m_emptyState->show(localized(missingTextKey()),
                           localized(missingTextMessageKey()));
}

#include "app/widgets/PageSelector.h"

#include "app/widgets/GradientButton.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

#include "platform/foundation/Localized.h"

PageSelector::PageSelector(int totalPages, int currentPage) : m_currPage(currentPage), m_totalPages(totalPages)
{
    setPreferredViewFrame(QRectF(0, 0, kWidth, kHeight));
}

void PageSelector::buildNib(View* root)
{
    root->setBackgroundColor(Qt::transparent);
    root->setOpaque(false);
    root->setAutoresizingMask(Autoresizing::FlexibleWidth);
    const qreal w = root->frame().width();

    m_prev = new GradientButton(QRectF(10, 7, 90, 30));
    m_prev->useRedDeleteStyle();
    m_prev->setTitle(localized("page_previous"));
    m_prev->titleLabel()->setFont(Font::boldSystemFontOfSize(14));
    m_prev->addTarget(this, &PageSelector::prevPage, ControlEvent::TouchUpInside);
    root->addSubview(m_prev);

    m_page = new Label(QRectF(105, 7, w - 210, 30));
    m_page->setAutoresizingMask(Autoresizing::FlexibleWidth);
    m_page->setFont(Font::boldSystemFontOfSize(16));
    m_page->setTextAlignment(TextAlignment::Center);
    m_page->setBackgroundColor(Qt::transparent);
    m_page->setOpaque(false);
    root->addSubview(m_page);

    m_next = new GradientButton(QRectF(w - 100, 7, 90, 30));
    m_next->useRedDeleteStyle();
    m_next->setAutoresizingMask(Autoresizing::FlexibleLeftMargin);
    m_next->setTitle(localized("page_next"));
    m_next->titleLabel()->setFont(Font::boldSystemFontOfSize(14));
    m_next->addTarget(this, &PageSelector::nextPage, ControlEvent::TouchUpInside);
    root->addSubview(m_next);
}

void PageSelector::viewDidLoad()
{
    ViewController::viewDidLoad();
    // The label names the page from the start, not only after the first step.
    setCurrPage(m_currPage);
    enable();
}

void PageSelector::setCurrPage(int page)
{
    m_currPage = page;
    if (m_page)
        m_page->setText(QString::number(page));
}

void PageSelector::nextPage()
{
    if (m_currPage >= m_totalPages)
        return;
    setCurrPage(m_currPage + 1);
    if (m_currPage == m_totalPages)
        disableButton(m_next);
    if (m_currPage >= 2)
        enableButton(m_prev);
    notifyObservers();
}

void PageSelector::prevPage()
{
    if (m_currPage <= 1)
        return;
    setCurrPage(m_currPage - 1);
    if (m_currPage < m_totalPages)
        enableButton(m_next);
    if (m_currPage == 1)
        disableButton(m_prev);
    notifyObservers();
}

void PageSelector::enable()
{
    if (m_currPage < m_totalPages)
        enableButton(m_next);
    else
        disableButton(m_next);
    if (m_currPage < 2)
        disableButton(m_prev);
    else
        enableButton(m_prev);
}

void PageSelector::disable()
{
    disableButton(m_next);
    disableButton(m_prev);
}

void PageSelector::enableButton(GradientButton* button)
{
    if (!button)
        return;
    button->setEnabled(true);
    button->setHidden(false);
}

void PageSelector::disableButton(GradientButton* button)
{
    if (!button)
        return;
    button->setEnabled(false);
    button->setHidden(true);
}

void PageSelector::addObserver(PageSelectorObserver* observer)
{
    m_observers.add(observer);
}

void PageSelector::removeObserver(PageSelectorObserver* observer)
{
    m_observers.remove(observer);
}

void PageSelector::notifyObservers()
{
    m_observers.forEach([](PageSelectorObserver* observer) { observer->currentPageHasChanged(); });
}

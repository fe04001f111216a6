#pragma once

#include "app/widgets/PageSelectorObserver.h"

#include "platform/ui/ViewController.h"

#include "platform/foundation/NonRetainingSet.h"

class GradientButton;
class Label;

// A previous/next pager with the number of the page shown between the two
// buttons, for stepping through the pages of one long text. A button that
// leads nowhere is hidden.
class PageSelector : public ViewController {
public:
    static constexpr qreal kWidth = 320;
    static constexpr qreal kHeight = 44;

    PageSelector(int totalPages, int currentPage);

    void buildNib(View* root) override;
    void viewDidLoad() override;

    int currPage() const { return m_currPage; }
    void setCurrPage(int page);
    int totalPages() const { return m_totalPages; }
    void setTotalPages(int totalPages) { m_totalPages = totalPages; }
    Label* page() const { return m_page; }
    GradientButton* prev() const { return m_prev; }
    GradientButton* next() const { return m_next; }

    void prevPage();
    void nextPage();
    // Each button shown where it leads somewhere; disable() hides both.
    void enable();
    void disable();
    static void enableButton(GradientButton* button);
    static void disableButton(GradientButton* button);

    // Observers are not owned (the screen that shows the selector owns it).
    void addObserver(PageSelectorObserver* observer);
    void removeObserver(PageSelectorObserver* observer);
    void notifyObservers();

private:
    int m_currPage;
    int m_totalPages;
    Label* m_page = nullptr;
    GradientButton* m_prev = nullptr;
    GradientButton* m_next = nullptr;
    NonRetainingSet<PageSelectorObserver> m_observers;
};

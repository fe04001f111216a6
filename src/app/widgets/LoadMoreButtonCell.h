#pragma once

#include "platform/ui/TableViewCell.h"

#include "platform/foundation/WeakRef.h"

#include <functional>

class ActivityIndicatorView;
class GradientButton;
class Label;

// The last row of a list that loads more on request: a "load more" button
// that turns into a spinning sign and a "loading" line while the next part
// comes.
class LoadMoreButtonCell : public TableViewCell {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 44;

    LoadMoreButtonCell();

    // The callback of the button; not called once the object has gone.
    template <typename T>
    void onLoadMoreCallSelector(T* object, void (T::*selector)())
    {
        const WeakRef<T> target(object);
        m_callbackObject = WeakRef<Trackable>(static_cast<Trackable*>(object));
        m_loadMoreSelector = [target, selector]() {
            if (T* t = target.get())
                (t->*selector)();
        };
    }
    Trackable* callbackObject() const { return m_callbackObject.get(); }

    // The button's action: the loading sign, then the callback.
    void loadMore();
    void showLoading(bool loading);
    void showLoadMoreButton();
    void showLoadingIndicator();
    void hideLoadingIndicator();

    GradientButton* loadMoreButton() const { return m_loadMoreButton; }
    ActivityIndicatorView* activityIndicator() const { return m_activityIndicator; }
    Label* loadingLabel() const { return m_loadingLabel; }

    void layoutSubviews() override;

private:
    GradientButton* m_loadMoreButton;
    ActivityIndicatorView* m_activityIndicator;
    Label* m_loadingLabel;
    std::function<void()> m_loadMoreSelector;
    WeakRef<Trackable> m_callbackObject;
};

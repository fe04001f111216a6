#pragma once

#include "app/widgets/LoadingCell.h"

#include "platform/foundation/WeakRef.h"

#include <functional>

class GradientButton;

// The last row of a list that loads more on request: a "load more" button
// that gives way to the loading row's spinning sign and line while the next
// part comes.
class LoadMoreButtonCell : public LoadingCell {
    Q_OBJECT
public:
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

    // Loaded as a row of its own, it offers the button first.
    void awakeFromNib() override;
    void layoutSubviews() override;

private:
    GradientButton* m_loadMoreButton;
    std::function<void()> m_loadMoreSelector;
    WeakRef<Trackable> m_callbackObject;
};

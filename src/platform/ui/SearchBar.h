#pragma once

#include "platform/ui/BarButtonView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/View.h"

#include <QPointer>

#include <memory>

class BarButtonItem;
class SearchBar;

// Told what the user does in a search bar; every operation optional.
class SearchBarDelegate : public virtual Trackable {
public:
    // The keyboard's search key (Return).
    virtual void searchBarSearchButtonClicked(SearchBar* searchBar) {}
    // The bar's cancel button (or Escape while it shows).
    virtual void searchBarCancelButtonClicked(SearchBar* searchBar) {}
    virtual void textDidChange(SearchBar* searchBar, const QString& searchText) {}
    virtual void searchBarTextDidBeginEditing(SearchBar* searchBar) {}
    virtual void searchBarTextDidEndEditing(SearchBar* searchBar) {}
};

// A tinted bar holding one rounded search field with a magnifier, and, when
// asked for, a cancel button at its right end. Return is the search key.
class SearchBar : public View, public TextFieldDelegate {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 44;

    explicit SearchBar(const QRectF& frame = QRectF(0, 0, 320, kHeight));
    ~SearchBar() override;

    QString text() const;
    void setText(const QString& text);
    QString placeholder() const;
    void setPlaceholder(const QString& placeholder);
    QColor tintColor() const { return m_tint; }
    void setTintColor(const QColor& tint);
    bool showsCancelButton() const { return m_showsCancel; }
    void setShowsCancelButton(bool shows);
    // "Cancel" unless set.
    void setCancelButtonTitle(const QString& title);

    SearchBarDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(SearchBarDelegate* delegate) { m_delegate = WeakRef<SearchBarDelegate>(delegate); }

    TextField* textField() const { return m_field; }
    // The cancel button's view while it shows, else null.
    BarButtonView* cancelButton() const { return m_cancelView.data(); }
    // The frame of the rounded field within the bar.
    QRectF fieldRect() const;

    bool canBecomeFirstResponder() const override { return true; }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    bool isFirstResponder() const override;
    // As the user presses them.
    void pressSearch();
    void pressCancel();

    void layoutSubviews() override;
    void drawRect(QPainter& painter, const QRectF& rect) override;

    void textFieldDidBeginEditing(TextField* textField) override;
    void textFieldDidEndEditing(TextField* textField) override;
    bool textFieldShouldReturn(TextField* textField) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void textChanged();

    TextField* m_field;
    std::shared_ptr<BarButtonItem> m_cancelItem;
    QPointer<BarButtonView> m_cancelView;
    WeakRef<SearchBarDelegate> m_delegate;
    QColor m_tint;
    bool m_showsCancel = false;
};

#pragma once

#include "platform/ui/Button.h"

class TableView;

// The author's picture on a row of the home list, as a button that opens
// their profile. A list's rows are many, so their pictures are no stops of
// Tab's: the list is one stop, and Right on its marked row hands the keys to
// that row's picture, as a grid's next cell (HomeListKeys). With the keys
// here, Return or Space opens the profile; Left and Escape give them back to
// the row, Up and Down to the row above or below; Tab and Shift+Tab go on
// from the list as they would from the list itself.
class HomeCellPicture : public Button {
    Q_OBJECT
public:
    explicit HomeCellPicture(const QRectF& frame);

    // Marked only while the keys are here.
    bool acceptsKeyboardFocus() const override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    TableView* list() const;
};

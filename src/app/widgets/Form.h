#pragma once

#include "app/model/Field.h"

#include "platform/ui/IndexPath.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/TableViewStyle.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

#include <QList>

class FieldCell;
class TableView;
class TableViewCell;

// A data-entry form made as a table: an ordered list of fields split into
// sections (a field with a description opens a new one, headed by that
// text), each field shown by a cell of its kind that writes what is entered
// back into the field. While a text field is edited the table keeps the
// keyboard's room free under it (none for a keyboard that takes no room).
class Form : public View, public TableViewDataSource, public TableViewDelegate {
    Q_OBJECT
public:
    // Between the keyboard and the table's last row in view.
    static constexpr qreal kRoomAboveKeyboard = 4;
    static constexpr double kMoveDuration = 0.3;
    static constexpr qreal kHeaderHeight = 30;
    static constexpr qreal kRowHeight = 44;

    // A grouped table on a clear background.
    explicit Form(const QRectF& frame = QRectF());
    ~Form() override;

    // The table always fills the form.
    void setFrame(const QRectF& frame) override;
    TableView* table() const { return m_table; }
    // The screen that shows the form (it pushes and presents); not owned.
    ViewController* controller() const { return m_controller.get(); }
    void setController(ViewController* controller) { m_controller = controller; }

    const QList<FieldPtr>& fields() const { return m_fields; }
    void setFields(const QList<FieldPtr>& fields);
    void addField(const FieldPtr& field);
    FieldPtr fieldWithName(const QString& name) const;
    bool containsFieldWithName(const QString& name) const { return fieldWithName(name) != nullptr; }
    // The first field of the name leaves the form; an unknown name changes nothing.
    void removeFieldWithName(const QString& name);
    // Every field's value under its name, in form order: a field without a
    // value leaves its name out, a later field of a name replaces an earlier.
    ValueDict values() const;
    const QList<QList<FieldPtr>>& sections() const { return m_sections; }

    // Where the field stands in the table; invalid when it is not in the form.
    IndexPath indexPathForField(const Field* field) const;
    // The cell showing the field, its row brought into view first; null when
    // the field is not in the form.
    FieldCell* cellForField(const Field* field);
    // Tab from the field's row: the next row, in form order, that the
    // keyboard stops at (a text, or a button that opens a picker) takes the
    // focus, brought into view first; rows below the fold have no cell for
    // the screen's own round to find. False when there is none that way.
    bool moveFocus(const Field* from, bool forward);
    // The field whose row has the keyboard (its text edited, its button
    // focused), or null.
    FieldPtr focusedField() const;
    // The field's row takes the keyboard, brought into view first; false
    // when the field is not in the form or its row takes no keyboard.
    bool giveFocus(const Field* field);
    // The first field, in form order, whose row the keyboard stops at.
    FieldPtr firstStop() const;

    // What the table leaves free under a field being edited: the keyboard's
    // height and a little more, or nothing when the keyboard takes no room.
    static qreal keyboardRoom();
    // Keyboard room: the table leaves the room free and shows the cell's row
    // above it; then the table fills the form again.
    void scrollUp(TableViewCell* cell);
    void scrollToPosition();

    int numberOfSectionsInTableView(TableView* tableView) override;
    int numberOfRowsInSection(TableView* tableView, int section) override;
    TableViewCell* cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;
    std::optional<qreal> heightForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;
    std::optional<qreal> heightForHeaderInSection(TableView* tableView, int section) override;
    View* viewForHeaderInSection(TableView* tableView, int section) override;

protected:
    // A form of another look: its table's style and the form's background.
    Form(const QRectF& frame, TableViewStyle style, const QColor& background);

private:
    void createTable(TableViewStyle style, const QColor& background);
    // The field follows the last one (Tab and Return go on to it) and joins
    // the last section, or opens a new one with its description.
    void append(const FieldPtr& field);
    // Each field's section is the index of the section that holds it.
    void numberSections();
    QString headerOf(int section) const;

    TableView* m_table = nullptr;
    WeakRef<ViewController> m_controller;
    QList<FieldPtr> m_fields;
    QList<QList<FieldPtr>> m_sections;
};

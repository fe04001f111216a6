#include "app/widgets/Form.h"

#include "app/model/FieldCheckbox.h"
#include "app/model/FieldDate.h"
#include "app/model/FieldLink.h"
#include "app/model/FieldMultiPicker.h"
#include "app/model/FieldMultiText.h"
#include "app/model/FieldPicker.h"
#include "app/model/FieldText.h"
#include "app/model/FieldUploadPhoto.h"
#include "app/widgets/FieldCheckboxCell.h"
#include "app/widgets/FieldDateCell.h"
#include "app/widgets/FieldLinkCell.h"
#include "app/widgets/FieldMultiPickerCell.h"
#include "app/widgets/FieldMultiTextCell.h"
#include "app/widgets/FieldPickerCell.h"
#include "app/widgets/FieldTextCell.h"
#include "app/widgets/FieldUploadPhotoCell.h"
#include "app/widgets/LoadCellNib.h"
#include "app/widgets/SectionHeaderLabel.h"

#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"

#include <algorithm>

namespace {

// The cell of the field's kind, given its field.
template <typename Cell>
TableViewCell* cellOf(TableView* table, const FieldPtr& field, Form* form)
{
    Cell* cell = loadCellNibForTableView<Cell>(table);
    if (cell)
        cell->setCallback(field, form);
    return cell;
}

// The rows whose cells hold a text field or a button across the row.
bool isStop(const Field* field)
{
    return field->isFocusable() || dynamic_cast<const FieldMultiText*>(field)
           || dynamic_cast<const FieldCheckbox*>(field) || dynamic_cast<const FieldDate*>(field)
           || dynamic_cast<const FieldPicker*>(field) || dynamic_cast<const FieldMultiPicker*>(field)
           || dynamic_cast<const FieldLink*>(field);
}

}  // namespace

Form::Form(const QRectF& frame) : Form(frame, TableViewStyle::Grouped, Qt::transparent)
{
}

Form::Form(const QRectF& frame, TableViewStyle style, const QColor& background) : View(frame)
{
    createTable(style, background);
}

Form::~Form()
{
    // Cells of this form outlive nothing: the table goes with the form.
    if (m_table) {
        m_table->setDataSource(nullptr);
        m_table->setDelegate(nullptr);
    }
}

void Form::createTable(TableViewStyle style, const QColor& background)
{
    setBackgroundColor(background);
    setOpaque(background.alpha() == 255);
    if (m_table)
        return;
    m_table = new TableView(QRectF(QPointF(0, 0), frame().size()), style);
    m_table->setAllowsSelection(false);
    m_table->setBackgroundColor(Qt::transparent);
    m_table->setOpaque(false);
    m_table->setDataSource(this);
    m_table->setDelegate(this);
    addSubview(m_table);
}

void Form::setFrame(const QRectF& frame)
{
    View::setFrame(frame);
    if (m_table)
        m_table->setFrame(QRectF(QPointF(0, 0), frame.size()));
}

// ---- Fields and sections

void Form::setFields(const QList<FieldPtr>& fields)
{
    m_fields.clear();
    m_sections.clear();
    for (const FieldPtr& field : fields)
        append(field);
    m_table->reloadData();
}

void Form::addField(const FieldPtr& field)
{
    append(field);
    m_table->reloadData();
}

void Form::append(const FieldPtr& field)
{
    if (!field)
        return;
    if (!m_fields.isEmpty())
        m_fields.last()->setNext(field.get());
    field->setNext(nullptr);
    m_fields.append(field);
    if (field->description().isNull() && !m_sections.isEmpty())
        m_sections.last().append(field);
    else
        m_sections.append({field});
    field->setSection(quint32(m_sections.size() - 1));
}

FieldPtr Form::fieldWithName(const QString& name) const
{
    const auto found = std::find_if(m_fields.cbegin(), m_fields.cend(),
                                    [&](const FieldPtr& field) { return field->name() == name; });
    return found == m_fields.cend() ? nullptr : *found;
}

void Form::removeFieldWithName(const QString& name)
{
    const FieldPtr field = fieldWithName(name);
    if (!field)
        return;
    const qsizetype at = m_fields.indexOf(field);
    if (at > 0)
        m_fields.at(at - 1)->setNext(field->next());
    field->setNext(nullptr);
    m_fields.removeAt(at);
    for (qsizetype s = 0; s < m_sections.size(); ++s) {
        if (m_sections[s].removeOne(field)) {
            if (m_sections[s].isEmpty())
                m_sections.removeAt(s);
            break;
        }
    }
    // The sections after an emptied one move up: their fields follow, so
    // that a field's row is always looked up where it stands.
    numberSections();
    m_table->reloadData();
}

void Form::numberSections()
{
    for (qsizetype s = 0; s < m_sections.size(); ++s) {
        for (const FieldPtr& field : std::as_const(m_sections[s]))
            field->setSection(quint32(s));
    }
}

ValueDict Form::values() const
{
    ValueDict values;
    for (const FieldPtr& field : m_fields) {
        const Value value = field->value();
        if (!value.isNothing())
            values.insert(field->name(), value);
    }
    return values;
}

IndexPath Form::indexPathForField(const Field* field) const
{
    if (!field)
        return IndexPath();
    const int section = int(field->section());
    if (section < 0 || section >= m_sections.size())
        return IndexPath();
    const QList<FieldPtr>& rows = m_sections.at(section);
    for (qsizetype row = 0; row < rows.size(); ++row) {
        if (rows.at(row).get() == field)
            return IndexPath{section, int(row)};
    }
    return IndexPath();
}

FieldCell* Form::cellForField(const Field* field)
{
    const IndexPath path = indexPathForField(field);
    if (!path.isValid())
        return nullptr;
    m_table->scrollToRowAtIndexPath(path, TableViewScrollPosition::None, false);
    return dynamic_cast<FieldCell*>(m_table->cellForRowAtIndexPath(path));
}

bool Form::moveFocus(const Field* from, bool forward)
{
    QList<const Field*> order;
    for (const QList<FieldPtr>& section : std::as_const(m_sections)) {
        for (const FieldPtr& field : section)
            order.append(field.get());
    }
    const qsizetype at = order.indexOf(from);
    if (at < 0)
        return false;
    for (qsizetype i = at + (forward ? 1 : -1); i >= 0 && i < order.size(); i += forward ? 1 : -1) {
        if (!isStop(order.at(i)))
            continue;
        return giveFocus(order.at(i));
    }
    return false;
}

FieldPtr Form::focusedField() const
{
    for (const QWidget* w = window()->focusWidget(); w && w != m_table; w = w->parentWidget()) {
        const auto* row = qobject_cast<const FieldCell*>(w);
        if (!row || row->form() != this)
            continue;
        for (const FieldPtr& field : m_fields) {
            if (field.get() == row->callback())
                return field;
        }
        return nullptr;
    }
    return nullptr;
}

bool Form::giveFocus(const Field* field)
{
    // The field being edited ends first, so the form's room is kept once.
    FieldCell::endTextEditing();
    FieldCell* row = cellForField(field);
    if (!row || !row->isFocusable())
        return false;
    row->takeFocus();
    return true;
}

FieldPtr Form::firstStop() const
{
    for (const QList<FieldPtr>& section : m_sections) {
        for (const FieldPtr& field : section) {
            if (isStop(field.get()))
                return field;
        }
    }
    return nullptr;
}

// ---- Keyboard room

qreal Form::keyboardRoom()
{
    const qreal keyboard = Keyboard::frame().height();
    return keyboard > 0 ? keyboard + kRoomAboveKeyboard : 0;
}

void Form::scrollUp(TableViewCell* cell)
{
    // Set, never subtracted: a second edit without an end in between keeps
    // the same room.
    const QSizeF size = frame().size();
    const QRectF shorter(0, 0, size.width(), qMax<qreal>(0, size.height() - keyboardRoom()));
    TableView* table = m_table;
    View::animate(kMoveDuration, [table, shorter] { table->setFrame(shorter); });
    const IndexPath path = m_table->indexPathForCell(cell);
    if (!path.isValid())
        return;
    // A row in view stays under the pointer; one the room covers comes up
    // to its edge.
    const QRectF row = m_table->rectForRowAtIndexPath(path);
    const qreal top = m_table->contentOffset().y();
    if (row.top() < top || row.bottom() > top + shorter.height())
        m_table->scrollToRowAtIndexPath(path, TableViewScrollPosition::Bottom, true);
}

void Form::scrollToPosition()
{
    const QRectF whole(QPointF(0, 0), frame().size());
    TableView* table = m_table;
    View::animate(kMoveDuration, [table, whole] { table->setFrame(whole); });
}

// ---- The table

int Form::numberOfSectionsInTableView(TableView*)
{
    return int(m_sections.size());
}

int Form::numberOfRowsInSection(TableView*, int section)
{
    return section >= 0 && section < m_sections.size() ? int(m_sections.at(section).size()) : 0;
}

TableViewCell* Form::cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    const FieldPtr field = m_sections.value(indexPath.section).value(indexPath.row);
    TableViewCell* cell = nullptr;
    if (std::dynamic_pointer_cast<FieldText>(field))
        cell = cellOf<FieldTextCell>(tableView, field, this);
    else if (std::dynamic_pointer_cast<FieldMultiText>(field))
        cell = cellOf<FieldMultiTextCell>(tableView, field, this);
    else if (std::dynamic_pointer_cast<FieldDate>(field))
        cell = cellOf<FieldDateCell>(tableView, field, this);
    else if (std::dynamic_pointer_cast<FieldCheckbox>(field))
        cell = cellOf<FieldCheckboxCell>(tableView, field, this);
    else if (std::dynamic_pointer_cast<FieldPicker>(field))
        cell = cellOf<FieldPickerCell>(tableView, field, this);
    else if (std::dynamic_pointer_cast<FieldMultiPicker>(field))
        cell = cellOf<FieldMultiPickerCell>(tableView, field, this);
    else if (std::dynamic_pointer_cast<FieldLink>(field))
        cell = cellOf<FieldLinkCell>(tableView, field, this);
    else if (std::dynamic_pointer_cast<FieldUploadPhoto>(field))
        cell = cellOf<FieldUploadPhotoCell>(tableView, field, this);
    // A kind of field no cell shows takes an empty row.
    return cell ? cell : new TableViewCell();
}

std::optional<qreal> Form::heightForRowAtIndexPath(TableView*, const IndexPath& indexPath)
{
    const FieldPtr field = m_sections.value(indexPath.section).value(indexPath.row);
    if (std::dynamic_pointer_cast<FieldCheckbox>(field))
        return FieldCheckboxCell::kHeight;
    return kRowHeight;
}

QString Form::headerOf(int section) const
{
    const QList<FieldPtr> rows = m_sections.value(section);
    return rows.isEmpty() ? QString() : rows.first()->description();
}

std::optional<qreal> Form::heightForHeaderInSection(TableView*, int section)
{
    return headerOf(section).isEmpty() ? 0.0 : kHeaderHeight;
}

View* Form::viewForHeaderInSection(TableView*, int section)
{
    const QString text = headerOf(section);
    if (text.isEmpty())
        return nullptr;
    Label* header = SectionHeaderLabel::make(QRectF(0, 0, 300, kHeaderHeight), text);
    header->setContentMode(ContentMode::Top);
    return header;
}

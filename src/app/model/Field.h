#pragma once

#include "platform/foundation/Trackable.h"
#include "platform/foundation/Value.h"

#include <QString>

#include <memory>

// One entry of a data-entry form, as the model side knows it: its label, the
// name its value is sent under, the header of the section it opens, and its
// value. The form's screen makes a cell for each field and writes what the
// user enters back into it.
class Field : public virtual Trackable {
public:
    Field(const QString& label, const QString& description, const QString& name);
    ~Field() override;

    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    QString label() const { return m_label; }
    void setLabel(const QString& label) { m_label = label; }
    QString name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    // Not null: the field opens a new section headed by this text.
    QString description() const { return m_description; }
    void setDescription(const QString& description) { m_description = description; }
    quint32 section() const { return m_section; }
    void setSection(quint32 section) { m_section = section; }
    // The field after this one in its form, not owned.
    Field* next() const { return m_next.get(); }
    void setNext(Field* next) { m_next = next; }

    // What is sent under the name; nothing leaves the name out.
    virtual Value value() const = 0;
    virtual bool isFocusable() const { return false; }

private:
    QString m_label;
    QString m_name;
    QString m_description;
    quint32 m_section = 0;
    WeakRef<Field> m_next;
};

using FieldPtr = std::shared_ptr<Field>;

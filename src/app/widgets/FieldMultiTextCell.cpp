#include "app/widgets/FieldMultiTextCell.h"

#include "app/model/FieldMultiText.h"
#include "app/widgets/Form.h"

#include "platform/ui/Font.h"
#include "platform/ui/InputPanel.h"

void FieldMultiTextCell::fill()
{
    const auto field = fieldAs<FieldMultiText>();
    // Shown once: from now on the field has a text, if an empty one.
    if (field && field->text().isNull())
        field->setValue(QStringLiteral(""));
    setTextTitle(field ? field->text() : QString());
}

void FieldMultiTextCell::setTextTitle(const QString& text)
{
    // One line of the text stands for all of it.
    showTitle(text.simplified());
}

void FieldMultiTextCell::changeText()
{
    const auto field = fieldAs<FieldMultiText>();
    if (!field || m_panel)
        return;
    m_chosenFor = field;
    m_textView = new TextView();
    m_textView->setFont(Font::systemFontOfSize(17));
    m_textView->setBackgroundColor(Qt::white);
    m_textView->setText(field->text());
    const WeakRef<FieldMultiTextCell> self(this);
    m_panel = new InputPanel(m_textView, [self] {
        if (FieldMultiTextCell* cell = self.get())
            cell->done();
    });
    m_panel->open();
}

void FieldMultiTextCell::done()
{
    const auto field = std::dynamic_pointer_cast<FieldMultiText>(m_chosenFor.lock());
    if (!field || !m_textView)
        return;
    const QString text = m_textView->text();
    if (callback() == field.get())
        setTextTitle(text);
    m_textView->resignFirstResponder();
    field->setValue(text);
    if (Form* f = form())
        f->scrollToPosition();
}

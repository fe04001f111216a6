#include "forum/screens/HomeFilterPanel.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Toolbar.h"

#include "platform/foundation/Localized.h"

HomeFilterPanel::HomeFilterPanel() : View(kStart)
{
    setObjectName(QStringLiteral("filterPanel"));
    setBackgroundColor(QColor(0, 0, 0, 110));
    setOpaque(false);
    auto* outside = new Button(QRectF(0, 0, 320, 156), ButtonType::Custom);
    outside->setObjectName(QStringLiteral("filterPanelOutside"));
    outside->addTarget(this, &HomeFilterPanel::close, ControlEvent::TouchUpInside);
    addSubview(outside);
    auto* bar = new Toolbar(QRectF(0, 156, 320, Toolbar::kHeight));
    bar->setObjectName(QStringLiteral("filterPanelBar"));
    bar->setItems({BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace),
                   BarButtonItem::withTitle(localized("done"),
                                            BarButtonItemStyle::Done, this, &HomeFilterPanel::close)});
    addSubview(bar);
    m_picker = new PickerView(QRectF(0, 200, 320, PickerView::kHeight));
    m_picker->setObjectName(QStringLiteral("filterPicker"));
    m_picker->setDataSource(this);
    m_picker->setDelegate(this);
    addSubview(m_picker);
    // Out of sight, its wheel is no stop of Tab's.
    setHidden(true);
}

void HomeFilterPanel::setRows(const QStringList& titles)
{
    m_rows = titles;
    m_picker->reloadAllComponents();
}

void HomeFilterPanel::selectRow(int row)
{
    m_picker->selectRow(row, 0, false);
}

void HomeFilterPanel::open(View* root)
{
    if (!superview()) {
        setFrame(kStart);
        root->addSubview(this);
    }
    root->bringSubviewToFront(this);
    setHidden(false);
    setFrame(QRectF(QPointF(0, 0), frame().size()));
}

void HomeFilterPanel::close()
{
    setFrame(QRectF(QPointF(0, frame().height()), frame().size()));
    setHidden(true);
}

int HomeFilterPanel::numberOfComponentsInPickerView(PickerView*)
{
    return 1;
}

int HomeFilterPanel::numberOfRowsInComponent(PickerView*, int)
{
    return int(m_rows.size());
}

QString HomeFilterPanel::titleForRow(PickerView*, int row, int)
{
    return m_rows.value(row);
}

void HomeFilterPanel::didSelectRow(PickerView*, int row, int)
{
    if (!m_choice || !m_choice(row))
        return;
    // A row the wheel turned to shows at once, and the panel stays for more
    // turns; a click on a row, or "done", closes it.
    if (!m_picker->isPickingByWheel())
        close();
}

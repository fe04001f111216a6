#include "neighbours/screens/PublishSettingsController.h"

#include "forum/screens/AccessoryBackdrop.h"

#include "app/config/Customizer.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/SegmentedControl.h"

#include "platform/foundation/Clock.h"
#include "platform/foundation/Localized.h"

namespace {

Label* caption(View* root, const QRectF& frame, const QString& text)
{
    auto* label = new Label(frame);
    label->setFont(Font::boldSystemFontOfSize(15));
    label->setTextColor(Qt::white);
    label->setShadowColor(QColor(0, 0, 0, 110));
    label->setBackgroundColor(Qt::transparent);
    label->setOpaque(false);
    label->setText(text);
    root->addSubview(label);
    return label;
}

}  // namespace

PublishSettingsController::PublishSettingsController(const QString& titleKey, const QString& draftKey)
    : m_draftKey(draftKey)
{
    setTitle(localized(titleKey));
}

PublishSettingsController::~PublishSettingsController() = default;

void PublishSettingsController::buildNib(View* root)
{
    AccessoryBackdrop::addTo(root);
    caption(root, QRectF(20, 8, 280, 22), localized(QStringLiteral("settings_categories")));
    buildCategories(root, QRectF(20, kCategoriesTop, 280, kCategoriesHeight));
    const qreal publishTop = kCategoriesTop + kCategoriesHeight + 8;
    caption(root, QRectF(20, publishTop, 280, 22), localized(QStringLiteral("settings_publish")));
    m_publishChoice = new SegmentedControl({localized(QStringLiteral("publish_now")),
                                            localized(QStringLiteral("settings_publish_date")), localized(m_draftKey)});
    m_publishChoice->setFrame(QRectF(20, publishTop + 24, 280, 32));
    m_publishChoice->setTintColor(Customizer::getInstance().colorForKey(kColorBackgroundButton));
    m_publishChoice->addTarget(this, &PublishSettingsController::publishChoiceChanged, ControlEvent::ValueChanged);
    root->addSubview(m_publishChoice);
    m_datePicker = new DatePicker();
    m_datePicker->setFrame(QRectF(0, root->bounds().height() - m_datePicker->frame().height(), 320,
                                  m_datePicker->frame().height()));
    m_datePicker->setAutoresizingMask(Autoresizing::FlexibleTopMargin | Autoresizing::FlexibleWidth);
    root->addSubview(m_datePicker);
}

void PublishSettingsController::viewDidLoad()
{
    UIViewControllerCommon::viewDidLoad();
    m_publishChoice->setSelectedSegmentIndex(Now);
    const QDate today = Clock::current().now().toLocalTime().date();
    m_datePicker->setMinimumDate(today);
    m_datePicker->setDate(today.addDays(1));
    m_datePicker->setHidden(true);
    navigationItem()->setRightBarButtonItem(BarButtonItem::withTitle(
        localized(QStringLiteral("done")), BarButtonItemStyle::Done, this, &PublishSettingsController::finish));
}

void PublishSettingsController::publishChoiceChanged()
{
    m_datePicker->setHidden(m_publishChoice->selectedSegmentIndex() != OnDate);
}

PublishState PublishSettingsController::publishState() const
{
    switch (m_publishChoice ? m_publishChoice->selectedSegmentIndex() : Now) {
    case OnDate:
        return PublishState::PublishOn;
    case Draft:
        return PublishState::Draft;
    default:
        return PublishState::PublishNow;
    }
}

void PublishSettingsController::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    const std::shared_ptr<ViewController> guard = weak_from_this().lock();
    WeakRef<NavigationController> navigation(navigationController());
    const PublishState state = publishState();
    const QDateTime date = state == PublishState::PublishOn && m_datePicker
                               ? QDateTime(m_datePicker->date(), QTime(12, 0))
                               : QDateTime();
    const PublishingBuilderPtr builder = makeBuilder(state, date);
    if (ViewController* composer = m_controller.get(); composer && builder)
        handOver(composer, builder);
    if (NavigationController* stack = navigation.get())
        stack->popViewController(this, true);
}

#pragma once

#include "forum/model/PublishingBuilder.h"
#include "forum/screens/PublishSettingsScreen.h"
#include "neighbours/blogs/PublishState.h"

#include "app/screens/UIViewControllerCommon.h"

#include <QDateTime>

class DatePicker;
class Label;
class SegmentedControl;

// The settings of a blog entry or an article as the composing screen asks
// for them, in their least form: the categories, and when it is published
// (now, on a date, or kept as a draft). "Done" hands a builder holding them
// to the composing screen and takes this very screen off the stack; going
// back hands over nothing.
class PublishSettingsController : public UIViewControllerCommon, public PublishSettingsScreen {
public:
    // The publish choice's positions.
    enum Choice { Now = 0, OnDate = 1, Draft = 2 };
    static constexpr qreal kCategoriesTop = 34;
    static constexpr qreal kCategoriesHeight = 96;

    ~PublishSettingsController() override;

    void buildNib(View* root) override;
    void viewDidLoad() override;

    ViewController* controller() const { return m_controller.get(); }
    void setController(ViewController* controller) override { m_controller = WeakRef<ViewController>(controller); }

    // "done".
    void finish();
    PublishState publishState() const;

    SegmentedControl* publishChoice() const { return m_publishChoice; }
    DatePicker* datePicker() const { return m_datePicker; }

protected:
    // `draftKey`: the draft's text ("draft_blog", "draft").
    PublishSettingsController(const QString& titleKey, const QString& draftKey);
    // Lays out the categories in their area (of the screen's view).
    virtual void buildCategories(View* root, const QRectF& area) = 0;
    // A builder holding the chosen categories, publish state and date.
    virtual PublishingBuilderPtr makeBuilder(PublishState state, const QDateTime& date) = 0;
    // Hands the builder to the composing screen.
    virtual void handOver(ViewController* controller, const PublishingBuilderPtr& builder) = 0;

private:
    void publishChoiceChanged();

    QString m_draftKey;
    WeakRef<ViewController> m_controller;
    SegmentedControl* m_publishChoice = nullptr;
    DatePicker* m_datePicker = nullptr;
    bool m_finished = false;
};

#pragma once

#include "app/model/ModelObserver.h"
#include "app/navigation/SelectImage.h"

#include "platform/ui/ActionSheet.h"

#include "platform/foundation/Observation.h"

#include <QPointer>

#include <memory>

class ViewController;

class AppContext;

// The member's picture on the home screen: with one, a menu to delete or
// change it; without, the picker at once. The picture picked goes up as the
// member's avatar; a refusal is told once, by the upload itself.
class HomePictureMenu : public ActionSheetDelegate, public SelectImageDelegate, public ModelObserver {
public:
    // The screen it shows over, not owned, for the member of the context,
    // which outlives it.
    HomePictureMenu(AppContext& context, ViewController* screen);
    ~HomePictureMenu() override;

    // The menu when there is a picture, else the picker.
    void open();
    void showDeleteMenu();
    void showPicker();

    void clickedButtonAtIndex(ActionSheet* actionSheet, int buttonIndex) override;
    void imageWasSelected(const std::shared_ptr<ImageToUpload>& image, SelectImage* selectImage) override;
    void modelHasChanged(Model*) override {}

private:
    AppContext& m_context;
    WeakRef<ViewController> m_screen;
    QPointer<ActionSheet> m_menu;
    SelectImagePtr m_selector;
    // The upload on its way, observed for its failure.
    Observation m_builderObservation;
};

#pragma once

#include "app/model/ModelObserver.h"
#include "app/screens/GlobalNavigationPanel.h"
#include "app/screens/UnreadMessagesSource.h"

#include "platform/ui/ViewController.h"

#include "platform/foundation/Observation.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <memory>

class AppContext;
class Button;
class Label;
class Model;
class QWidget;

// The global menu: a rounded panel of the sections laid over the whole
// window. Each entry shows only where it can open something: where the
// forum has its feature, where a member is signed in for a member's section,
// and where the section's screen exists in this program. Choosing an entry
// makes its section's screen the root of a new screen stack; the messages
// entry carries the count of unread private messages.
//
// Open, it has the keyboard: the entry of the section on screen (else the
// first entry) is marked, the arrows and Tab move the mark, Return or Space
// opens the marked entry, and Escape closes the menu as its cancel entry
// does, giving the keys back to where they were.
class GlobalNavigationViewController : public ViewController, public ModelObserver {
public:
    // When an entry shows: 0 always; a feature bit where the forum has that
    // feature (and, for messages, friends and photos, a member is signed
    // in); below 0 where a member is signed in.
    enum EntryTag {
        AlwaysShown = 0,
        BlogsFeature = 1,
        ArticlesFeature = 2,
        MessagesFeature = 4,
        SearchFeature = 8,
        PhotosFeature = 32,
        FriendsFeature = 64,
        MembersOnly = -1,
    };
    static constexpr qreal kCornerRadius = 10.0;
    static constexpr qreal kEntryHeight = 32.0;
    // The opening pulse: to full size, a little smaller, full size again.
    static constexpr double kPulseDurations[3] = {0.2, 1.0 / 15, 2.0 / 15};
    static constexpr qreal kPulseStartScale = 0.6;
    static constexpr qreal kPulseShrinkScale = 0.9;

    // The menu of the context's session. It reads its count from the
    // context's UnreadMessagesSource, which the program that links the forum
    // library sets to the forum info's (none: no count).
    explicit GlobalNavigationViewController(AppContext& context);
    ~GlobalNavigationViewController() override;

    void buildNib(View* root) override;
    void viewDidLoad() override;
    void touchesEnded(const QPointF& point) override;

    void modelHasChanged(Model* model) override;
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;
    // The forum info the menu observes, while it is open and that model lives.
    Model* observedModel() const;

    void gotoHomeScreen();
    void gotoForumHomeScreen();
    void gotoArticles();
    void gotoBlogHomeScreen();
    void gotoPrivateMessages();
    void gotoNotifications();
    void gotoMyProfile();
    void gotoFriends();
    void gotoPhotos();
    void gotoSearch();
    // Given the keys once shown over the window; `before` had them (may be
    // null) and gets them back when the menu is cancelled.
    void takeKeyboard(QWidget* before);
    // Closes the menu, the keys back where they were before it opened.
    void cancel();
    // Closes the menu and makes the screen the root of a new stack, unless
    // the screen on top is already of its class.
    void goToViewController(const ViewControllerPtr& controller);
    bool isOpen() const;

    void pulse();

    GlobalNavigationPanel* menu() const { return m_menu; }
    Label* lblTitle() const { return m_lblTitle; }
    Label* numberOfMessages() const { return m_numberOfMessages; }
    Button* homeButton() const { return m_homeButton; }
    Button* forumsButton() const { return m_forumsButton; }
    Button* articlesButton() const { return m_articlesButton; }
    Button* blogsButton() const { return m_blogsButton; }
    Button* messagesButton() const { return m_messagesButton; }
    Button* notificationsButton() const { return m_notificationsButton; }
    Button* myprofileButton() const { return m_myprofileButton; }
    Button* friendsButton() const { return m_friendsButton; }
    Button* photosButton() const { return m_photosButton; }
    Button* searchButton() const { return m_searchButton; }
    Button* cancelButton() const { return m_cancelButton; }

    // Whether an entry of the tag shows now, by the forum's features and the
    // session alone.
    bool isTagShown(int tag) const;

private:
    Button* addEntry(const char* titleKey, int tag, void (GlobalNavigationViewController::*action)());
    void openSection(const QString& className);
    void applyGating();
    // Takes the menu off the window.
    void close();
    // The entry of the section on screen (else the first) takes the keys.
    void markEntry();
    void stopObserving();
    void showCount(std::optional<int> count);

    AppContext& m_context;
    GlobalNavigationPanel* m_menu = nullptr;
    Label* m_lblTitle = nullptr;
    Label* m_numberOfMessages = nullptr;
    Button* m_homeButton = nullptr;
    Button* m_forumsButton = nullptr;
    Button* m_articlesButton = nullptr;
    Button* m_blogsButton = nullptr;
    Button* m_messagesButton = nullptr;
    Button* m_notificationsButton = nullptr;
    Button* m_myprofileButton = nullptr;
    Button* m_friendsButton = nullptr;
    Button* m_photosButton = nullptr;
    Button* m_searchButton = nullptr;
    Button* m_cancelButton = nullptr;
    // The screen class each entry opens (none for cancel), by button.
    QList<QPair<Button*, QString>> m_entryClasses;
    std::weak_ptr<Model> m_forumInfo;
    QPointer<QWidget> m_focusBefore;
    // The source the observed model came from.
    std::shared_ptr<UnreadMessagesSource> m_source;
    Observation m_forumInfoObservation;
};

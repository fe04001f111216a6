#pragma once

#include "forum/screens/ContentTagsDelegate.h"
#include "forum/screens/EditorAttachments.h"
#include "forum/screens/EditorFocus.h"
#include "forum/screens/EditorLeaving.h"
#include "forum/screens/EditorMessageText.h"
#include "forum/screens/SelectForumDelegate.h"
#include "forum/model/BlogProbe.h"
#include "forum/model/EditorDraft.h"
#include "forum/model/ModelWatch.h"
#include "forum/model/UploadAttachment.h"

#include "app/media/ImageToUpload.h"
#include "app/model/ModelObserver.h"
#include "app/screens/UIViewControllerCommon.h"

#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class AppContext;
class Button;
class EditorFormatting;
class EditorPublishArea;
class EditorTagsRow;
class ScrollView;

// The base of the composing screens (new content, reply, edit): a title, a
// text in BB-code that starts as a grey placeholder, formatting (bold,
// italic, underline, sizes, emoticons) from a strip at the foot of the text
// while it is edited, tags, a thread prefix, pictures and videos, where the
// content goes, "discard" and "submit", and a busy sign while it is sent. It
// sends nothing itself: the screens built on it hand the title, the text, the
// tags and the pictures to their builder and watch it.
//
// While the text is edited it takes the screen down to the strip, above the
// keyboard's room (none for a desktop keyboard); "done" ends the editing.
// Tab and Shift+Tab move between the title and the text; Return in the title
// goes on to the text. It opens with the keyboard in the title, and a screen
// it opens (a picker, a prompt) gives the keyboard back to the row it came
// from.
class Editor : public UIViewControllerCommon,
               public TextViewDelegate,
               public TextFieldDelegate,
               public ContentTagsDelegate,
               public SelectForumDelegate,
               public ModelObserver {
public:
    static constexpr qreal kScrollMinimumHeight = 416;
    // Between the rows below the text.
    static constexpr qreal kRowGap = 6;
    static inline const QRectF kContentBgFrame = QRectF(20, 90, 280, 162);
    static inline const QRectF kContentFrame = QRectF(22, 88, 278, 159);

    // Reads the forum's configuration from the context.
    explicit Editor(AppContext& context);
    ~Editor() override;

    void buildNib(View* root) override;
    void viewDidLoad() override;
    // The keyboard where the member types first (the title, else the text);
    // back from a screen this one opened, on the row that opened it.
    void viewDidAppear(bool animated) override;

    // "submit": the busy sign, and "discard" and "submit" are off until it
    // stops: what has gone out cannot be taken back. Screens built on it
    // check and send first.
    virtual void done();
    // "discard": at once when nothing was written, else after asking;
    // nothing while the content is on its way.
    void cancel() { m_leaving.cancel(); }
    // Pushes a screen that helps write this one (a picker, a prompt); when it
    // is done the keyboard comes back to `returnTo`, or to the first control
    // of that row that can take it then.
    void openAccessory(const ViewControllerPtr& screen, View* returnTo);
    // A text, a title, tags or a picture: leaving asks first, and a closed
    // forum leaves the screen where it is.
    bool holdsUnsentWork() const override;
    void setTagsEnabled(bool enabled);
    void enableThreadPrefix(bool enabled);
    // A "change" button: the choice of where the content goes comes back.
    virtual void changePublish();
    // The choice of where the content goes changed.
    virtual void changedPublish() {}
    virtual void selectPrefix() {}
    bool forumWasSelected(const ForumPtr& forum) override { return true; }
    // Places the rows below the text and the list of pictures.
    void updateLayout();
    void resizeScroll();

    void modelHasChanged(Model* model) override {}
    // Says why once, and the busy sign stops.
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;

    // The tag screen's answer; changeTags opens it.
    void setTags(const QString& tags) override;
    void changeTags();

    // Shows or hides the attachment button as the builder allows.
    void setAttachmentAllowed(bool allowed);

    // The formatting menus and the attachment menu close.
    void hideAll();
    // "done" while the text is edited.
    void doneText();

    // The text as written: empty while the placeholder shows.
    QString messageText() const { return m_text.messageText(); }
    bool isBlank(const QString& text) const { return EditorMessageText::isBlank(text); }
    void setMessageText(const QString& text) { m_text.setMessageText(text); }
    // Stops and hides the busy sign.
    void stopLoading() { m_leaving.stopSending(m_editingText); }
    // "submit" can be pressed (not while a screen waits for its form).
    void setSubmitEnabled(bool enabled);
    void popSelf(bool animated) { m_leaving.popSelf(animated); }
    bool isOnStack() const { return m_leaving.isOnStack(); }
    // The publish area, hidden by the screens that post where they are.
    void setPublishAreaHidden(bool hidden);

    void textViewDidChange(TextView* textView) override;
    void textViewDidBeginEditing(TextView* textView) override;
    void textViewDidEndEditing(TextView* textView) override;
    bool textFieldShouldReturn(TextField* textField) override;
    void touchesEnded(const QPointF& point) override;

    // The rows that screens built on this one fill.
    TextView* content() const { return m_content; }
    TextField* messageTitle() const { return m_messageTitle; }
    TextField* prefixTitle() const { return m_prefixTitle; }
    Button* selectPrefixButton() const { return m_selectPrefixButton; }
    EditorPublishArea* publishArea() const { return m_publish; }
    // The emoticons' button, shown as the forum allows.
    Button* smileyButton() const;

    // What is written and not yet sent.
    const EditorDraft& draft() const { return m_draft; }

protected:
    // The blog probe's answer.
    void configureNewBlogPost();
    // The blog choice can be offered.
    virtual void enableBlogsTab();
    // Keeps the choice's selection when one of its positions comes or goes.
    void setPublishChoiceShown(int position, bool shown);
    // Selects a position of the choice (-1: none), telling nobody.
    void selectPublishPosition(int position);
    // The pictures as a builder takes them.
    UploadAttachmentList attachmentsToSend() const { return m_draft.attachmentsToSend(); }
    // The context it was made on, for the screens it opens.
    AppContext& context() const { return m_context; }

private:
    void beginTextLayout();
    // The top of the keyboard in the screen's view (its foot when it takes no room).
    qreal keyboardTop();
    void showSubmitButton(bool editing);
    void cancelBlogProbe();

    AppContext& m_context;

    ScrollView* m_scroll = nullptr;
    TextField* m_messageTitle = nullptr;
    TextField* m_prefixTitle = nullptr;
    Button* m_selectPrefixButton = nullptr;
    Button* m_contentBg = nullptr;
    TextView* m_content = nullptr;
    EditorTagsRow* m_tagsRow = nullptr;
    EditorPublishArea* m_publish = nullptr;
    std::unique_ptr<EditorFormatting> m_formatting;

    bool m_prefixEnabled = true;
    bool m_editingText = false;
    EditorFocus m_focus;
    EditorDraft m_draft;
    EditorMessageText m_text{m_draft};
    EditorAttachments m_attachments{*this, m_draft, m_text};
    EditorLeaving m_leaving{*this, m_draft};
    BlogProbePtr m_blogProbe;
    ModelWatch m_blogProbeWatch;
};

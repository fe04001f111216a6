#pragma once

#include "forum/screens/InsertTextDelegate.h"

#include "app/navigation/SelectImage.h"

#include <QPointer>

class Button;
class Editor;
class EditorAttachmentMenu;
class EditorDraft;
class EditorMediaList;
class EditorMessageText;
class ScrollView;

// The editor's pictures and videos: the "attach" button and its small menu,
// the picker a picture comes from and the list of the pictures chosen, and
// the prompt for a video's address (or, with written text selected, that
// text wrapped as a video at once). Shown only while the target takes
// attachments and the text is not being edited.
class EditorAttachments : public SelectImageDelegate, public InsertTextDelegate {
public:
    // Owned by the editor, whose draft and text it writes into.
    EditorAttachments(Editor& editor, EditorDraft& draft, EditorMessageText& text);
    ~EditorAttachments() override;

    // The button and its menu go into the editor's scroll view.
    void build(ScrollView* scroll);
    // Lays the rows out from y down, the list of pictures made once there is
    // one; answers where the next row would go.
    qreal layOut(qreal y, bool editingText);

    bool isAllowed() const { return m_allowed; }
    void setAllowed(bool allowed) { m_allowed = allowed; }
    Button* button() const;
    // Null until a picture has been chosen.
    EditorMediaList* mediaList() const;

    // "attach": the menu opens, or closes.
    void toggleMenu();
    void hideMenu();
    void addImage();
    void addVideo();
    void imageWasSelected(const std::shared_ptr<ImageToUpload>& image, SelectImage* selectImage) override;
    void textWasInserted(InsertTextController* prompt) override;

private:
    Editor& m_editor;
    EditorDraft& m_draft;
    EditorMessageText& m_text;
    QPointer<ScrollView> m_scroll;
    QPointer<Button> m_button;
    QPointer<EditorAttachmentMenu> m_menu;
    QPointer<EditorMediaList> m_mediaList;
    SelectImagePtr m_selector;
    bool m_allowed = true;
};

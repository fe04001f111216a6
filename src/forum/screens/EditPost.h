#pragma once

#include "forum/model/EditBuilder.h"
#include "forum/model/Post.h"
#include "forum/screens/Editor.h"
#include "platform/foundation/Observation.h"

// Changes a post: the title and the whole text come from the forum's edit
// form (a long post too, which the thread shows cut short), "submit" waits
// for that form, and a saved edit returns to the thread page, past the post
// shown alone. An edit that fails keeps everything written.
class EditPost : public Editor {
public:
    explicit EditPost(AppContext& context);
    ~EditPost() override;

    void viewDidLoad() override;

    const PostPtr& post() const { return m_post; }
    // Asks the forum for the post's edit form at once.
    void setPost(const PostPtr& post);

    void done() override;
    void modelHasChanged(Model* model) override;

    const EditBuilderPtr& editBuilder() const { return m_editBuilder; }
    // The form has come: the text and the form's hash are there.
    bool isPrepared() const;

private:
    // Fills what is still empty from the form, once it is there.
    void fillFromForm();
    // This screen and the posts shown alone leave; the thread page stays.
    void returnToThread();

    PostPtr m_post;
    EditBuilderPtr m_editBuilder;
    Observation m_editBuilderObservation;
};

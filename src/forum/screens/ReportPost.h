#pragma once

#include "forum/model/Post.h"

#include "app/screens/UIViewControllerCommon.h"

#include "platform/ui/TextView.h"

#include <memory>

class Label;

// Reports a post to the moderators with a reason. The reason starts as a
// suggested one in grey, which the first edit clears; "submit" sends what
// the box holds and closes the screen. The forum's thanks reach the screens
// that watch the post.
class ReportPost : public UIViewControllerCommon, public TextViewDelegate {
public:
    ReportPost();
    ~ReportPost() override;

    void buildNib(View* root) override;
    void viewDidLoad() override;

    // Not owned: the post may go (its page reloaded) while this screen is up.
    PostPtr post() const { return m_post.lock(); }
    void setPost(const PostPtr& post) { m_post = post; }
    // "submit".
    void report();

    TextView* message() const { return m_message; }
    Label* hint() const { return m_hint; }
    bool messageHasChanged() const { return m_messageHasChanged; }

    void textViewDidBeginEditing(TextView* textView) override;

private:
    std::weak_ptr<Post> m_post;
    TextView* m_message = nullptr;
    Label* m_hint = nullptr;
    bool m_messageHasChanged = false;
    bool m_reported = false;
};

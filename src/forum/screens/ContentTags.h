#pragma once

#include "forum/screens/ContentTagsDelegate.h"

#include "platform/ui/ViewController.h"

#include <QString>

class Label;
class TextView;

// The tags of new content, typed as one text ("one, two"). "Done" hands the
// text to the delegate as it is and takes this screen off the stack; going
// back gives the delegate nothing.
class ContentTags : public ViewController {
public:
    ContentTags();
    ~ContentTags() override;

    void buildNib(View* root) override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    // Fills the text in advance.
    void setTagsText(const QString& text);
    // The bar's "done".
    void done();

    TextView* tags() const { return m_tags; }
    Label* hint() const { return m_hint; }
    ContentTagsDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(ContentTagsDelegate* delegate) { m_delegate = WeakRef<ContentTagsDelegate>(delegate); }

private:
    TextView* m_tags = nullptr;
    Label* m_hint = nullptr;
    WeakRef<ContentTagsDelegate> m_delegate;
    QString m_pendingText;
};

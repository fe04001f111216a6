#include "forum/screens/Editor.h"

#include "forum/screens/AccessoryBackdrop.h"
#include "forum/screens/ContentTags.h"
#include "forum/screens/EditorAttachmentMenu.h"
#include "forum/screens/EditorButtonStrip.h"
#include "forum/screens/EditorFocus.h"
#include "forum/screens/EditorFormatting.h"
#include "forum/screens/EditorMediaList.h"
#include "forum/screens/EditorPublishArea.h"
#include "forum/screens/EditorTagsRow.h"
#include "forum/screens/InsertTextController.h"

#include "app/model/Config.h"
#include "app/config/ConnectionError.h"
#include "app/widgets/SegmentControlHidding.h"

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/ScrollView.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Localized.h"


namespace {

const QColor kPlaceholderColour(0xA0, 0xA7, 0xB0);
constexpr qreal kRowGap = 6;
constexpr qreal kTagsTop = 258;
constexpr qreal kRowHeight = 31;

TextField* roundedField(View* parent, const QRectF& frame, const QString& placeholder)
{
    auto* field = new TextField(frame);
    field->setBorderStyle(TextBorderStyle::RoundedRect);
    field->setFont(Font::systemFontOfSize(16));
    field->setPlaceholder(placeholder);
    parent->addSubview(field);
    return field;
}

}  // namespace

Editor::Editor() = default;

Editor::~Editor()
{
    // The views outlive this part of the screen: a text losing the focus as
    // they go tells nobody.
    if (isViewLoaded()) {
        m_content->setDelegate(nullptr);
        m_messageTitle->setDelegate(nullptr);
    }
    cancelBlogProbe();
    if (m_confirmExit)
        m_confirmExit->dismissWithoutButton();
}

// ---- The layout

void Editor::buildNib(View* root)
{
    AccessoryBackdrop::addTo(root);
    m_scroll = new ScrollView(root->bounds());
    m_scroll->setAutoresizingMask(Autoresizing::FlexibleSize);
    m_scroll->setBackgroundColor(Qt::transparent);
    m_scroll->setOpaque(false);
    root->addSubview(m_scroll);

    m_messageTitle = roundedField(m_scroll, QRectF(20, 9, 280, kRowHeight), localized("placeholder_title"));
    m_messageTitle->setClearButtonMode(TextFieldViewMode::WhileEditing);
    m_messageTitle->setReturnKeyType(ReturnKeyType::Next);
    m_messageTitle->setDelegate(this);
    m_messageTitle->addAction([this](Control*) { m_draft.setTitle(m_messageTitle->text()); },
                              ControlEvent::EditingChanged);

    // The prefix reads in its field; the button over it opens the list.
    m_prefixTitle = roundedField(m_scroll, QRectF(20, 49, 280, kRowHeight), localized("placeholder_prefix"));
    m_prefixTitle->setUserInteractionEnabled(false);
    m_selectPrefixButton = new Button(QRectF(20, 49, 280, kRowHeight));
    m_selectPrefixButton->setTitle(localized("label_prefix") + QStringLiteral("  \u203A"));
    m_selectPrefixButton->setTitleColor(QColor(0x2A, 0x5D, 0xB0));
    m_selectPrefixButton->titleLabel()->setFont(Font::boldSystemFontOfSize(14));
    // The title at the right end of the field, clear of the prefix shown.
    m_selectPrefixButton->setContentEdgeInsets(EdgeInsets{0, 180, 0, 8});
    m_selectPrefixButton->addTarget(this, &Editor::selectPrefix, ControlEvent::TouchUpInside);
    m_scroll->addSubview(m_selectPrefixButton);

    m_contentBg = new Button(kContentBgFrame, ButtonType::RoundedRect);
    m_contentBg->setObjectName(QStringLiteral("contentBackground"));
    m_contentBg->addAction([this](Control*) { m_content->becomeFirstResponder(); }, ControlEvent::TouchUpInside);
    m_contentBg->setKeyboardFocusable(false);
    m_scroll->addSubview(m_contentBg);
    m_content = new TextView(kContentFrame);
    m_content->setBackgroundColor(Qt::transparent);
    m_content->setFont(Font::systemFontOfSize(16));
    m_content->setDelegate(this);
    m_scroll->addSubview(m_content);

    m_tagsRow = new EditorTagsRow(QRectF(20, kTagsTop, 280, kRowHeight));
    m_tagsRow->button()->addTarget(this, &Editor::changeTags, ControlEvent::TouchUpInside);
    m_scroll->addSubview(m_tagsRow);

    m_publish = new EditorPublishArea(QPointF(20, kTagsTop + kRowHeight + kRowGap));
    m_publish->publishIn()->addTarget(this, &Editor::changedPublish, ControlEvent::ValueChanged);
    for (SegmentedControl* change : {m_publish->changePublishBtn(), m_publish->changePublishBlogBtn(),
                                     m_publish->changePublishArticleBtn()})
        change->addTarget(this, &Editor::changePublish, ControlEvent::ValueChanged);
    m_scroll->addSubview(m_publish);

    m_addAttachmentBtn = new Button(QRectF(20, 0, 110, 32));
    m_addAttachmentBtn->setObjectName(QStringLiteral("addAttachment"));
    m_addAttachmentBtn->setImage(ResourceImages::named(QStringLiteral("editor_attach.png")));
    m_addAttachmentBtn->setTitle(localized("label_attach"));
    m_addAttachmentBtn->setTitleColor(Qt::white);
    m_addAttachmentBtn->titleLabel()->setFont(Font::boldSystemFontOfSize(15));
    m_addAttachmentBtn->addTarget(this, &Editor::addAttachment, ControlEvent::TouchUpInside);
    m_scroll->addSubview(m_addAttachmentBtn);
    m_attachmentMenu = new EditorAttachmentMenu(QRectF(140, 0, 96, 40));
    m_attachmentMenu->imageButton()->addTarget(this, &Editor::addImage, ControlEvent::TouchUpInside);
    m_attachmentMenu->videoButton()->addTarget(this, &Editor::addVideo, ControlEvent::TouchUpInside);
    m_scroll->addSubview(m_attachmentMenu);

    m_loading = new ActivityIndicatorView(ActivityIndicatorStyle::WhiteLarge);
    m_loading->setObjectName(QStringLiteral("loading"));
    m_loading->setFrame(QRectF(125, 150, 70, 70));
    m_loading->setBackgroundColor(QColor(0, 0, 0, 150));
    m_loading->setOpaque(false);
    root->addSubview(m_loading);

    m_formatting = std::make_unique<EditorFormatting>(root, [this](const EditorFormatting::Change& change) {
        writeChange(change);
    });
}

void Editor::viewDidLoad()
{
    UIViewControllerCommon::viewDidLoad();
    m_discard = BarButtonItem::withTitle(localized("discard"), BarButtonItemStyle::Plain, this, &Editor::cancel);
    navigationItem()->setLeftBarButtonItem(m_discard);
    showSubmitButton(false);
    m_loading->stopAnimating();
    m_loading->setHidden(true);
    setTagsEnabled(false);
    enableThreadPrefix(false);
    m_attachmentMenu->setHidden(true);
    m_content->setText(placeholderText());
    m_content->setTextColor(kPlaceholderColour);
    // Blog entries need the forum's leave: the choice shows once it is given.
    if (Config::getInstance().isFeatureEnabled(Config::BlogEnabled)) {
        setPublishChoiceShown(EditorPublishArea::Blog, false);
        m_blogProbe = std::make_shared<BlogProbe>();
        m_blogProbeWatch.watch(m_blogProbe, [this] { configureNewBlogPost(); });
        m_blogProbe->send();
    }
    updateLayout();
}

void Editor::viewDidAppear(bool animated)
{
    UIViewControllerCommon::viewDidAppear(animated);
    m_focus.appeared(view(), m_messageTitle, m_content);
}

void Editor::openAccessory(const ViewControllerPtr& screen, View* returnTo)
{
    NavigationController* navigation = navigationController();
    if (!screen || !navigation)
        return;
    m_focus.returnTo(returnTo);
    navigation->pushViewController(screen, true);
}

void Editor::showSubmitButton(bool editing)
{
    const std::shared_ptr<BarButtonItem> item =
        editing ? BarButtonItem::withTitle(localized("done"), BarButtonItemStyle::Done, this, &Editor::doneText)
                : BarButtonItem::withTitle(localized("submit"), BarButtonItemStyle::Done, this, &Editor::done);
    item->setEnabled(rightItemEnabled(editing));
    navigationItem()->setRightBarButtonItem(item);
}

bool Editor::rightItemEnabled(bool editing) const
{
    return editing || (m_submitEnabled && !m_draft.isSending());
}

void Editor::setSubmitEnabled(bool enabled)
{
    m_submitEnabled = enabled;
    if (isViewLoaded())
        showSubmitButton(m_editingText);
}

void Editor::updateLayout()
{
    if (!isViewLoaded())
        return;
    if (!m_editingText) {
        m_contentBg->setFrame(kContentBgFrame);
        m_content->setFrame(kContentFrame);
    }
    // The rows below the text follow each other.
    qreal y = kTagsTop;
    m_tagsRow->setFrame(QRectF(20, y, 280, kRowHeight));
    y += kRowHeight + kRowGap;
    if (!m_publish->isHidden()) {
        m_publish->setFrame(QRectF(QPointF(20, y), m_publish->frame().size()));
        y += m_publish->frame().height() + kRowGap;
    }
    const bool attachShown = m_attachmentAllowed && !m_editingText;
    m_addAttachmentBtn->setHidden(!attachShown);
    m_addAttachmentBtn->setEnabled(m_attachmentAllowed);
    if (attachShown) {
        m_addAttachmentBtn->setFrame(QRectF(QPointF(20, y), m_addAttachmentBtn->frame().size()));
        m_attachmentMenu->setFrame(QRectF(QPointF(140, y - 4), m_attachmentMenu->frame().size()));
        y += m_addAttachmentBtn->frame().height() + kRowGap;
    } else {
        m_attachmentMenu->setHidden(true);
    }
    const qsizetype attachments = m_draft.attachments().size();
    if (attachments > 0 && !m_mediaTable) {
        m_mediaTable = new EditorMediaList(QRectF(12, y, 296, 0));
        m_scroll->addSubview(m_mediaTable);
    }
    if (m_mediaTable) {
        m_mediaTable->setFrame(
            QRectF(12, y - kRowGap, 296, EditorMediaList::kRowHeight * attachments + 2 * kRowGap));
        m_mediaTable->setHidden(attachments == 0 || m_editingText);
        m_mediaTable->showAttachments(m_draft.attachments());
    }
    resizeScroll();
}

void Editor::resizeScroll()
{
    if (!m_scroll)
        return;
    qreal bottom = m_addAttachmentBtn->isHidden() ? m_tagsRow->frame().bottom() : m_addAttachmentBtn->frame().bottom();
    if (!m_publish->isHidden())
        bottom = qMax(bottom, m_publish->frame().bottom());
    if (m_mediaTable && !m_mediaTable->isHidden())
        bottom = m_mediaTable->frame().bottom();
    m_scroll->setContentSize(QSizeF(320, qMax(kScrollMinimumHeight, bottom + kRowGap)));
}

void Editor::setPublishAreaHidden(bool hidden)
{
    m_publish->setHidden(hidden);
    updateLayout();
}

// ---- The text and its placeholder

QString Editor::placeholderText() const
{
    return localized("placeholder_content");
}

void Editor::changedContent()
{
    if (!m_draft.touchText())
        return;
    m_content->setTextColor(Qt::black);
    putText(QString());
}

QString Editor::messageText() const
{
    return m_draft.text();
}

bool Editor::isBlank(const QString& text) const
{
    return text.trimmed().isEmpty() || text == placeholderText();
}

void Editor::setMessageText(const QString& text)
{
    changedContent();
    putText(text);
}

void Editor::putText(const QString& text)
{
    // Set from here the text view tells nobody: the draft is told at once.
    m_content->setText(text);
    m_draft.setText(text);
}

void Editor::textViewDidChange(TextView* textView)
{
    if (textView == m_content)
        m_draft.setText(m_content->text());
}

void Editor::textViewDidBeginEditing(TextView* textView)
{
    if (textView != m_content)
        return;
    changedContent();
    hideAll();
    beginTextLayout();
}

qreal Editor::keyboardTop()
{
    View* root = view();
    const qreal height = root->bounds().height();
    if (!Keyboard::isShown())
        return height;
    const qreal top = root->convertPointFrom(Keyboard::frame().topLeft(), nullptr).y();
    return qBound<qreal>(0, top, height);
}

void Editor::beginTextLayout()
{
    m_editingText = true;
    const qreal stripTop = keyboardTop() - EditorButtonStrip::kHeight;
    m_formatting->beginEditing(stripTop);
    // The text takes the screen down to the strip, over the rows below it.
    m_scroll->bringSubviewToFront(m_contentBg);
    m_scroll->bringSubviewToFront(m_content);
    m_scroll->setContentOffset(QPointF(0, 0));
    m_scroll->setScrollEnabled(false);
    const qreal area = qMax<qreal>(60, stripTop - 8);
    View::animate(EditorFormatting::kMoveDuration, [this, area] {
        m_contentBg->setFrame(QRectF(kContentBgFrame.x(), 4, kContentBgFrame.width(), area));
        m_content->setFrame(QRectF(kContentFrame.x(), 4, kContentFrame.width(), area - 3));
    });
    m_content->scrollRangeToVisible(m_content->selectedRange());
    showSubmitButton(true);
    updateLayout();
}

void Editor::textViewDidEndEditing(TextView* textView)
{
    if (textView != m_content || !m_editingText)
        return;
    m_editingText = false;
    m_scroll->setScrollEnabled(true);
    m_formatting->endEditing();
    View::animate(EditorFormatting::kMoveDuration, [this] {
        m_contentBg->setFrame(kContentBgFrame);
        m_content->setFrame(kContentFrame);
    });
    showSubmitButton(false);
    updateLayout();
}

bool Editor::textFieldShouldReturn(TextField* textField)
{
    // Return in the title goes on to the text.
    if (textField == m_messageTitle)
        m_content->becomeFirstResponder();
    return true;
}

void Editor::doneText()
{
    m_content->resignFirstResponder();
}

// ---- Formatting

void Editor::hideAll()
{
    if (m_formatting)
        m_formatting->hide();
    if (m_attachmentMenu)
        m_attachmentMenu->setHidden(true);
}

void Editor::touchesEnded(const QPointF&)
{
    hideAll();
}

void Editor::writeChange(const EditorFormatting::Change& change)
{
    changedContent();
    const EditorTextChange changed = change(m_content->text(), m_content->selectedRange());
    putText(changed.text);
    m_content->setSelectedRange(changed.selection);
}

Button* Editor::smileyButton() const
{
    return m_formatting ? m_formatting->strip()->smileyButton() : nullptr;
}

// ---- Tags and prefix

void Editor::setTagsEnabled(bool enabled)
{
    m_draft.setTagsEnabled(enabled);
    if (m_tagsRow)
        m_tagsRow->setTagsEnabled(enabled, m_draft.tags());
}

void Editor::setTags(const QString& tags)
{
    m_draft.setTags(tags);
    if (m_tagsRow)
        m_tagsRow->showTags(tags);
}

void Editor::changeTags()
{
    auto tags = std::make_shared<ContentTags>();
    tags->setDelegate(this);
    tags->setTagsText(m_draft.tags());
    openAccessory(tags, m_tagsRow->button());
}

void Editor::enableThreadPrefix(bool enabled)
{
    m_prefixEnabled = enabled;
    if (!m_selectPrefixButton)
        return;
    m_selectPrefixButton->setEnabled(enabled);
    m_selectPrefixButton->setAlpha(enabled ? 1.0 : 0.5);
    m_prefixTitle->setAlpha(enabled ? 1.0 : 0.5);
    if (!enabled)
        m_prefixTitle->setText(QString());
}

// ---- Where it goes

void Editor::changePublish()
{
    m_publish->reopenChoice();
    updateLayout();
}

void Editor::selectPublishPosition(int position)
{
    m_publish->publishIn()->setSelectedPosition(position);
}

void Editor::setPublishChoiceShown(int position, bool shown)
{
    m_publish->setChoiceShown(position, shown);
}

void Editor::configureNewBlogPost()
{
    if (!m_blogProbe || !m_blogProbe->hasAnswered())
        return;
    if (const std::optional<bool> emoticons = m_blogProbe->showsEmoticons(); emoticons && smileyButton())
        smileyButton()->setAlpha(*emoticons ? 1.0 : 0.0);
    if (m_blogProbe->allowsBlogEntries())
        enableBlogsTab();
}

void Editor::enableBlogsTab()
{
    setPublishChoiceShown(EditorPublishArea::Blog, true);
}

void Editor::cancelBlogProbe()
{
    // The probe drops its question as it goes.
    m_blogProbeWatch.stop();
    m_blogProbe.reset();
}

// ---- Pictures and videos

void Editor::setAttachmentAllowed(bool allowed)
{
    m_attachmentAllowed = allowed;
    updateLayout();
}

void Editor::addAttachment()
{
    m_attachmentMenu->setHidden(!m_attachmentMenu->isHidden());
}

void Editor::addImage()
{
    m_attachmentMenu->setHidden(true);
    m_selector = std::make_shared<SelectImage>();
    m_selector->setDelegate(this);
    m_selector->setController(this);
    m_selector->setMediaType(SelectImage::kMediaTypeImage);
    m_selector->showInView(view());
}

void Editor::imageWasSelected(const std::shared_ptr<ImageToUpload>& image, SelectImage*)
{
    if (!image)
        return;
    m_draft.addAttachment(image);
    updateLayout();
    // The picture shows in the list, scrolled into sight.
    if (m_mediaTable) {
        m_mediaTable->showAttachments(m_draft.attachments());
        m_scroll->scrollRectToVisible(m_mediaTable->frame(), false);
    }
}

void Editor::addVideo()
{
    m_attachmentMenu->setHidden(true);
    m_selectedRange = m_content->selectedRange();
    if (m_draft.isTextTouched() && m_selectedRange.length > 0) {
        const EditorTextChange change = EditorText::wrapVideo(m_content->text(), m_selectedRange);
        putText(change.text);
        m_content->setSelectedRange(change.selection);
        return;
    }
    auto prompt = std::make_shared<InsertTextController>();
    prompt->setTitleText(localized("insert_video_url"));
    prompt->setDelegate(this);
    // Its button is in the menu that has closed: back to the row's own.
    openAccessory(prompt, m_addAttachmentBtn);
}

void Editor::textWasInserted(InsertTextController* prompt)
{
    const QString address = prompt ? prompt->text().trimmed() : QString();
    if (address.isEmpty())
        return;
    // Out of the placeholder first, so that it is never sent with the video.
    changedContent();
    putText(EditorText::appendVideo(m_content->text(), address));
}

UploadAttachmentList Editor::attachmentsToSend() const
{
    return m_draft.attachmentsToSend();
}

// ---- Sending and leaving

void Editor::done()
{
    m_loading->setHidden(false);
    view()->bringSubviewToFront(m_loading);
    m_loading->startAnimating();
    // Gone out, the content lands whatever this screen does: it stays until
    // the forum has answered, and says then what became of it; "submit" is
    // off as well, for it has been pressed.
    setSending(true);
}

void Editor::setSending(bool sending)
{
    m_draft.setSending(sending);
    if (m_discard)
        m_discard->setEnabled(!sending);
    // The item shown, not a new one: a button the keyboard pressed keeps its place.
    if (const std::shared_ptr<BarButtonItem> right = navigationItem()->rightBarButtonItem())
        right->setEnabled(rightItemEnabled(m_editingText));
}

void Editor::stopLoading()
{
    if (!m_loading)
        return;
    setSending(false);
    m_loading->stopAnimating();
    m_loading->setHidden(true);
}

bool Editor::modelHasFailedToUpdate(Model*, const Error& error)
{
    ConnectionError::showMessage(error);
    stopLoading();
    return true;
}

bool Editor::holdsUnsentWork() const
{
    return m_draft.holdsUnsentWork();
}

void Editor::cancel()
{
    if (!m_draft.canDiscard())
        return;
    if (!m_draft.discardingAsks()) {
        popSelf(true);
        return;
    }
    // Asked already and still up: one question is enough. A question taken
    // away without an answer (its window closed) stands in the way no more.
    if (m_confirmExit && m_confirmExit->isVisible())
        return;
    m_confirmExit = AlertView::create(localized("cancel_creating_content"), localized("your_work_will_not"), this,
                                      {localized("cancel"), localized("discard")});
    // Work is lost only by a press of Discard itself, never by a Return.
    m_confirmExit->setDefaultButtonIndex(0);
    m_confirmExit->show();
}

void Editor::clickedButtonAtIndex(AlertView* alertView, int buttonIndex)
{
    // Only the question this screen asked, and only while it is on its stack.
    if (!m_confirmExit || alertView != m_confirmExit.get())
        return;
    m_confirmExit.reset();
    if (buttonIndex == 1)
        popSelf(true);
}

bool Editor::isOnStack() const
{
    NavigationController* navigation = navigationController();
    if (!navigation)
        return false;
    for (const ViewControllerPtr& screen : navigation->viewControllers()) {
        if (screen.get() == this)
            return true;
    }
    return false;
}

void Editor::popSelf(bool animated)
{
    if (m_content && m_content->isFirstResponder())
        m_content->resignFirstResponder();
    if (NavigationController* navigation = navigationController())
        navigation->popViewController(this, animated);
}

#include "forum/screens/Editor.h"

#include "forum/screens/AccessoryBackdrop.h"
#include "forum/screens/ContentTags.h"
#include "forum/screens/EditorButtonStrip.h"
#include "forum/screens/EditorFormatting.h"
#include "forum/screens/EditorMediaList.h"
#include "forum/screens/EditorPublishArea.h"
#include "forum/screens/EditorTagsRow.h"

#include "app/config/ConnectionError.h"
#include "app/model/Config.h"
#include "app/session/AppContext.h"
#include "app/widgets/SegmentControlHidding.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/ScrollView.h"

#include "platform/foundation/Localized.h"

namespace {

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

Editor::Editor(AppContext& context)
    : m_context(context)
{
}

Editor::~Editor()
{
    // The views outlive this part of the screen: a text losing the focus as
    // they go tells nobody.
    if (isViewLoaded()) {
        m_content->setDelegate(nullptr);
        m_messageTitle->setDelegate(nullptr);
    }
    cancelBlogProbe();
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
    m_text.setContent(m_content);

    m_tagsRow = new EditorTagsRow(QRectF(20, kTagsTop, 280, kRowHeight));
    m_tagsRow->button()->addTarget(this, &Editor::changeTags, ControlEvent::TouchUpInside);
    m_scroll->addSubview(m_tagsRow);

    m_publish = new EditorPublishArea(QPointF(20, kTagsTop + kRowHeight + kRowGap));
    m_publish->publishIn()->addTarget(this, &Editor::changedPublish, ControlEvent::ValueChanged);
    for (SegmentedControl* change : {m_publish->changePublishBtn(), m_publish->changePublishBlogBtn(),
                                     m_publish->changePublishArticleBtn()})
        change->addTarget(this, &Editor::changePublish, ControlEvent::ValueChanged);
    m_scroll->addSubview(m_publish);

    m_attachments.build(m_scroll);
    m_leaving.build(root, m_content);

    m_formatting = std::make_unique<EditorFormatting>(root, [this](const EditorFormatting::Change& change) {
        m_text.writeChange(change);
    });
}

void Editor::viewDidLoad()
{
    UIViewControllerCommon::viewDidLoad();
    m_leaving.setDiscardButton(
        BarButtonItem::withTitle(localized("discard"), BarButtonItemStyle::Plain, this, &Editor::cancel));
    showSubmitButton(false);
    setTagsEnabled(false);
    enableThreadPrefix(false);
    m_attachments.hideMenu();
    m_text.showPlaceholder();
    // Blog entries need the forum's leave: the choice shows once it is given.
    if (m_context.config().isFeatureEnabled(Config::BlogEnabled)) {
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
    item->setEnabled(m_leaving.rightItemEnabled(editing));
    navigationItem()->setRightBarButtonItem(item);
}

void Editor::setSubmitEnabled(bool enabled)
{
    m_leaving.setSubmitEnabled(enabled);
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
    m_attachments.layOut(y, m_editingText);
    resizeScroll();
}

void Editor::resizeScroll()
{
    if (!m_scroll)
        return;
    Button* attach = m_attachments.button();
    qreal bottom = attach->isHidden() ? m_tagsRow->frame().bottom() : attach->frame().bottom();
    if (!m_publish->isHidden())
        bottom = qMax(bottom, m_publish->frame().bottom());
    if (EditorMediaList* media = m_attachments.mediaList(); media && !media->isHidden())
        bottom = media->frame().bottom();
    m_scroll->setContentSize(QSizeF(320, qMax(kScrollMinimumHeight, bottom + kRowGap)));
}

void Editor::setPublishAreaHidden(bool hidden)
{
    m_publish->setHidden(hidden);
    updateLayout();
}

void Editor::textViewDidChange(TextView* textView)
{
    if (textView == m_content)
        m_text.textDidChange();
}

void Editor::textViewDidBeginEditing(TextView* textView)
{
    if (textView != m_content)
        return;
    m_text.changedContent();
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
    m_attachments.hideMenu();
}

void Editor::touchesEnded(const QPointF&)
{
    hideAll();
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

void Editor::setAttachmentAllowed(bool allowed)
{
    m_attachments.setAllowed(allowed);
    updateLayout();
}

// ---- Pictures, sending and leaving

void Editor::done()
{
    m_leaving.startSending(m_editingText);
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

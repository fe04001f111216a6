#include "neighbours/screens/MyProfile.h"

#include "neighbours/screens/EmptyStateView.h"

#include "app/config/ConnectionError.h"
#include "app/config/Customizer.h"
#include "app/session/Profile.h"
#include "app/text/Formatter.h"
#include "neighbours/blogs/AnswerDate.h"

#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"

#include "platform/foundation/Localized.h"

namespace {

const QString kFieldCell = QStringLiteral("ProfileFieldCell");

Label* headerLabel(const QRectF& frame, const QFont& font, const QColor& color)
{
    auto* label = new Label(frame);
    label->setFont(font);
    label->setTextColor(color);
    label->setBackgroundColor(Qt::transparent);
    label->setOpaque(false);
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumFontSize(11);
    return label;
}

}  // namespace

MyProfile::MyProfile(AppContext& context, const QString& nibName, unsigned selectedIndex)
    : MurmoraViewController(context), m_nibName(nibName), m_selectedIndex(selectedIndex)
{
    setTitle(localized("profile_title"));
}

MyProfile::~MyProfile() = default;

QString MyProfile::getBarTitle() const
{
    return localized("nav_myprofile");
}

void MyProfile::buildNib(View* root)
{
    Customizer& theme = Customizer::getInstance();
    m_avatar = new ImageView(QRectF(12, 10, kAvatarSize, kAvatarSize));
    m_avatar->setContentMode(ContentMode::ScaleAspectFill);
    m_avatar->setClipsToBounds(true);
    root->addSubview(m_avatar);
    m_name = headerLabel(QRectF(80, 14, 228, 26), Font::boldSystemFontOfSize(20), theme.colorForKey(kColorTextTitle));
    root->addSubview(m_name);
    m_userTitle =
        headerLabel(QRectF(80, 40, 228, 20), Font::systemFontOfSize(14), theme.colorForKey(kColorTextSecondary));
    root->addSubview(m_userTitle);

    m_sections = new SegmentedControl({localized("profile_section_profile"), localized("profile_section_messages"),
                                       localized("profile_section_friends"), localized("profile_section_albums")});
    m_sections->setFrame(QRectF(10, kSectionsTop, 300, kSectionsHeight));
    m_sections->setTintColor(theme.colorForKey(kColorBackgroundButton));
    root->addSubview(m_sections);

    const QRectF content(0, kContentTop, root->bounds().width(), root->bounds().height() - kContentTop);
    m_table = new TableView(content, TableViewStyle::Grouped);
    m_table->setAutoresizingMask(Autoresizing::FlexibleSize);
    m_table->setRowHeight(kRowHeight);
    m_table->setAllowsSelection(false);
    m_table->setBackgroundColor(Qt::transparent);
    root->addSubview(m_table);
    m_emptyState = new EmptyStateView(content);
    root->addSubview(m_emptyState);
}

void MyProfile::viewDidLoad()
{
    MurmoraViewController::viewDidLoad();
    const int index = m_selectedIndex < unsigned(m_sections->numberOfSegments()) ? int(m_selectedIndex) : 0;
    m_sections->setSelectedSegmentIndex(index);
    m_sections->addTarget(this, &MyProfile::sectionChanged, ControlEvent::ValueChanged);
    m_table->setDataSource(this);
    m_table->setDelegate(this);
    layout();
    requestFooterBanner();
}

void MyProfile::setUser(const FriendPtr& member)
{
    m_userObservation.reset();
    m_profileObservation.reset();
    m_user = member;
    // A guest has no profile on the forum: none is made for one.
    m_profile = !member ? nullptr : member->userid() >= 1 ? member->profile() : member->existingProfile();
    m_failure.clear();
    m_userObservation.observe(m_user, this);
    m_profileObservation.observe(m_profile, this);
    if (m_profile) {
        if (m_profile->categories().empty() && m_user->userid() >= 1 && !m_profile->hasRequests())
            m_profile->fetchInfo();
    }
    layout();
}

int MyProfile::selectedSection() const
{
    if (!m_sections)
        return int(m_selectedIndex);
    return m_sections->selectedSegmentIndex();
}

void MyProfile::sectionChanged()
{
    layout();
}

void MyProfile::modelHasChanged(Model* model)
{
    if (!model || (model != m_user.get() && model != m_profile.get()))
        return;
    // The member signed in as someone else, or signed out: the profile shown
    // is the one the member has now.
    if (model == m_user.get() && m_user->existingProfile() != m_profile) {
        setUser(m_user);
        return;
    }
    if (model == m_profile.get())
        m_failure.clear();
    layout();
}

bool MyProfile::modelHasFailedToUpdate(Model* model, const Error& error)
{
    if (!model || (model != m_user.get() && model != m_profile.get()))
        return false;
    ConnectionError::showMessage(error);
    if (model == m_profile.get())
        m_failure = error.domain();
    layout();
    return true;
}

void MyProfile::showEmptyState(const char* headlineKey, const QString& message)
{
    m_table->setHidden(true);
    m_emptyState->setHidden(false);
    m_emptyState->show(localized(headlineKey), message);
}

void MyProfile::layout()
{
    if (!isViewLoaded())
        return;
    const bool member = m_user && m_user->userid() >= 1;
    const QString name = m_user ? m_user->username() : QString();
    setTitle(name.isEmpty() ? localized("profile_title") : name);
    m_name->setText(member ? name : localized("profile_no_member_name"));
    m_userTitle->setText(member ? m_user->usertitle() : QString());
    const QImage picture = m_user ? m_user->avatar().qimage() : QImage();
    m_avatar->setImage(picture);
    m_avatar->setHidden(picture.isNull());
    // Without a picture the name takes its place.
    const qreal textLeft = picture.isNull() ? 12 : 80;
    m_name->setFrame(QRectF(textLeft, 14, 308 - textLeft, 26));
    m_userTitle->setFrame(QRectF(textLeft, 40, 308 - textLeft, 20));

    m_shown.clear();
    if (m_profile && member && selectedSection() == ProfileSection) {
        const Fields facts = factsOf(*m_profile);
        if (!facts.isEmpty())
            m_shown.append({QString(), facts});
        for (const Value& category : m_profile->categories()) {
            const Fields fields = fieldsOf(category);
            if (!fields.isEmpty())
                m_shown.append({category.isDict() ? category[u"title"].toString() : QString(), fields});
        }
    }
    m_table->reloadData();
    switch (selectedSection()) {
    case MessagesSection:
        showEmptyState("profile_messages_empty_headline", localized("profile_messages_empty_message"));
        return;
    case FriendsSection:
        showEmptyState("profile_friends_empty_headline", localized("profile_friends_empty_message"));
        return;
    case AlbumsSection:
        showEmptyState("profile_albums_empty_headline", localized("profile_albums_empty_message"));
        return;
    default:
        break;
    }
    if (!member) {
        showEmptyState("profile_no_member_headline", localized("profile_no_member_message"));
        return;
    }
    if (!m_shown.isEmpty()) {
        m_table->setHidden(false);
        m_emptyState->setHidden(true);
        return;
    }
    if (m_profile && m_profile->hasRequests())
        showEmptyState("loading", QString());
    else if (!m_failure.isEmpty())
        showEmptyState("profile_failed_headline", m_failure);
    else
        showEmptyState("profile_empty_headline", localized("profile_empty_message"));
}

MyProfile::Fields MyProfile::fieldsOf(const Value& category)
{
    Fields fields;
    const Value list = category[u"fields"];
    const auto add = [&fields](const Value& field) {
        if (!field.isDict())
            return;
        const QString value = field[u"value"].toString().trimmed();
        if (!value.isEmpty())
            fields.append({field[u"name"].toString(), value});
    };
    if (list.isList()) {
        for (const Value& field : list.list())
            add(field);
    } else {
        add(list);
    }
    return fields;
}

MyProfile::Fields MyProfile::factsOf(const Profile& profile)
{
    Fields facts;
    const Value joindate = profile.joindate();
    const QDateTime joined = AnswerDate::fromSeconds(joindate);
    const QString when = joined.isValid() ? Formatter::defaultFormatter().cellDateOnlyFormatter().stringFromDate(joined)
                                          : joindate.toString().trimmed();
    if (!when.isEmpty())
        facts.append({localized("profile_joined"), when});
    const QString posts = profile.posts().toString().trimmed();
    if (!posts.isEmpty())
        facts.append({localized("profile_posts"), posts});
    return facts;
}

int MyProfile::numberOfSectionsInTableView(TableView*)
{
    return int(m_shown.size());
}

int MyProfile::numberOfRowsInSection(TableView*, int section)
{
    return section >= 0 && section < m_shown.size() ? int(m_shown.at(section).fields.size()) : 0;
}

QString MyProfile::titleForHeaderInSection(TableView*, int section)
{
    return section >= 0 && section < m_shown.size() ? m_shown.at(section).title : QString();
}

TableViewCell* MyProfile::cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    TableViewCell* cell = tableView->dequeueReusableCellWithIdentifier(kFieldCell);
    if (!cell) {
        cell = new TableViewCell(TableViewCellStyle::Value2, kFieldCell);
        cell->setSelectionStyle(TableViewCellSelectionStyle::None);
        cell->detailTextLabel()->setFont(Font::systemFontOfSize(15));
        cell->detailTextLabel()->setTextColor(Customizer::getInstance().colorForKey(kColorTextPrimary));
        cell->detailTextLabel()->setLineBreakMode(LineBreakMode::WordWrap);
        cell->detailTextLabel()->setNumberOfLines(2);
        cell->textLabel()->setAdjustsFontSizeToFitWidth(true);
        cell->textLabel()->setMinimumFontSize(9);
    }
    const Fields fields = indexPath.section < m_shown.size() ? m_shown.at(indexPath.section).fields : Fields();
    const std::pair<QString, QString> field = indexPath.row < fields.size() ? fields.at(indexPath.row)
                                                                            : std::pair<QString, QString>();
    cell->textLabel()->setText(field.first);
    cell->detailTextLabel()->setText(field.second);
    return cell;
}

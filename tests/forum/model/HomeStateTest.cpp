// What the home screen shows, without a window: which list a sort and a
// filter select, and what changes hands when the reader does.
#include "ForumModelTest.h"

#include "app/model/Config.h"
#include "forum/model/HomeState.h"

using HomeStates = ForumModelTest;

TEST_F(HomeStates, TheSortPicksTheListAndTheFilterPicksTheKindTheForumOffers)
{
    Config& config = Config::getInstance();
    config.setFeaturesInt(Config::BlogEnabled | Config::CmsEnabled);
    HomeState state(context());
    EXPECT_EQ(state.sort(), HomeState::Newest);
    EXPECT_EQ(state.list(), state.newTop());
    EXPECT_TRUE(HomeState::forumOffersKinds(context().config()));

    // Without a search across kinds the feed starts with threads.
    EXPECT_EQ(state.resetFilter(), 0);
    ASSERT_EQ(state.filterRows().size(), 4);
    EXPECT_EQ(state.newTop()->searchType(), NewTopSearch::Threads);
    EXPECT_EQ(state.filterTitleKey(), u"nav_forums");
    ASSERT_TRUE(state.chooseFilterRow(2));
    EXPECT_EQ(state.newTop()->searchType(), NewTopSearch::BlogEntries);
    EXPECT_EQ(state.filterTitleKey(), u"nav_blogs");
    EXPECT_FALSE(state.chooseFilterRow(4));
    EXPECT_FALSE(state.chooseFilterRow(-1));
    EXPECT_EQ(state.newTop()->searchType(), NewTopSearch::BlogEntries) << "no row, no change";

    // Top is the same list in another order; the subscriptions another list,
    // which takes no filter.
    EXPECT_TRUE(state.setSort(HomeState::Top));
    EXPECT_EQ(state.list(), state.newTop());
    EXPECT_EQ(state.newTop()->searchOrder(), NewTopSearch::TopOrder);
    EXPECT_EQ(state.listIconName(), u"icon_top.png");
    EXPECT_TRUE(state.showsFilter());
    EXPECT_TRUE(state.setSort(HomeState::Subscribed));
    EXPECT_EQ(state.list(), state.subscribed());
    EXPECT_EQ(state.subscribed()->order(), SearchAll::SubscribedOrder);
    EXPECT_EQ(state.subscribed()->type(), HomeState::kFinderType);
    EXPECT_EQ(state.listTitleKey(), u"home_order_subscribed");
    EXPECT_FALSE(state.showsFilter());
    EXPECT_TRUE(state.setSort(HomeState::Newest));
    EXPECT_EQ(state.newTop()->searchOrder(), NewTopSearch::NewOrder);

    // Across kinds the feed starts with all of them, unfiltered; with nothing
    // but threads there is no choice at all.
    config.setFeaturesInt(Config::MultiTypeSearch);
    HomeState across(context());
    EXPECT_EQ(across.resetFilter(), 1);
    EXPECT_EQ(across.filterTitleKey(), u"home_all");
    EXPECT_EQ(across.newTop()->searchType(), NewTopSearch::AllTypes);
    config.setFeaturesInt(0);
    EXPECT_FALSE(HomeState::forumOffersKinds(context().config()));
}

TEST_F(HomeStates, SigningOutEmptiesTheMembersListsAndTakesTheirSubscriptionsAndNotificationsAway)
{
    const CurrentUserPtr alice = signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    HomeState state(context());
    EXPECT_FALSE(state.followReader(alice->userid())) << "the first reader takes nothing from anyone";
    state.setNotifications(3);
    EXPECT_TRUE(state.showsNotificationStrip());
    ASSERT_TRUE(state.offers(HomeState::Subscribed));
    ASSERT_TRUE(state.setSort(HomeState::Subscribed));
    state.subscribed()->loadPage(1);
    state.newTop()->loadPage(1);
    ASSERT_TRUE(settle());
    ASSERT_FALSE(state.subscribed()->pages().isEmpty());
    ASSERT_FALSE(state.newTop()->pages().isEmpty());
    EXPECT_FALSE(state.followReader(alice->userid())) << "the same reader keeps the lists";
    EXPECT_FALSE(state.newTop()->pages().isEmpty());

    // A guest now: nothing alice could see is left, the list is the newest,
    // and the subscriptions and notifications are not offered.
    state.newTop()->loadPage(2);
    EXPECT_TRUE(state.followReader(0));
    EXPECT_TRUE(state.isGuest());
    EXPECT_TRUE(state.subscribed()->pages().isEmpty());
    EXPECT_FALSE(state.newTop()->isLoadingPages()) << "a page on its way for alice is dropped";
    EXPECT_EQ(state.sort(), HomeState::Newest);
    EXPECT_EQ(state.list(), state.newTop());
    EXPECT_FALSE(state.offers(HomeState::Subscribed));
    EXPECT_FALSE(state.setSort(HomeState::Subscribed));
    EXPECT_EQ(state.sort(), HomeState::Newest);
    EXPECT_FALSE(state.showsNotificationStrip()) << "a guest has no notifications, whatever the count";
    ASSERT_TRUE(settle());

    // A member again: the subscriptions and the notifications come back.
    EXPECT_TRUE(state.followReader(alice->userid()));
    EXPECT_TRUE(state.offers(HomeState::Subscribed));
    EXPECT_TRUE(state.showsNotificationStrip());

    // Signing out from the subscriptions, the newest list read for alice in
    // full: it comes back without her rows.
    state.newTop()->loadPage(1);
    ASSERT_TRUE(settle());
    ASSERT_FALSE(state.newTop()->pages().value(state.newTop()->pageKey(1)).isEmpty());
    ASSERT_TRUE(state.setSort(HomeState::Subscribed));
    EXPECT_TRUE(state.followReader(0));
    EXPECT_EQ(state.list(), state.newTop());
    EXPECT_TRUE(state.newTop()->pages().value(state.newTop()->pageKey(1)).isEmpty())
        << "the newest list, back from the subscriptions, shows none of alice's rows";
}

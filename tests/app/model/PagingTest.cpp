#include "AppTest.h"

#include "ModelTestSupport.h"

#include "app/model/ModelWithPages.h"

using PagingTest = AppTest;

namespace {

class PagedModel : public ModelWithPages {
public:
    static const PropertyTable& propertyTable()
    {
        static const PropertyTable table =
            PropertyTable(&ModelWithPages::propertyTable()).text("title", &PagedModel::title, &PagedModel::setTitle);
        return table;
    }
    const PropertyTable& properties() const override { return propertyTable(); }
    QString title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }

private:
    QString m_title;
};

}  // namespace

TEST_F(PagingTest, TheBlockGivesThePageNumbersAndIsRecordedUnderItsPage)
{
    auto model = Model::create<PagedModel>();
    model->setDictionary(json(R"({"title": "T", "pagenav": {"pagenumber": "2", "totalpages": "5", "total": 45}})"));
    EXPECT_EQ(model->title(), QStringLiteral("T"));
    ASSERT_TRUE(model->pagenav());
    EXPECT_EQ(model->pagenumber(), 2u);
    EXPECT_EQ(model->totalpages(), 5u);
    EXPECT_EQ(model->navs().value(QStringLiteral("2")), model->pagenav());
    EXPECT_EQ(model->pagenav()->total(), QStringLiteral("45"));
    EXPECT_FALSE(model->toDictionary().contains(QStringLiteral("pagenav")));

    // A block without a page number is current but not recorded.
    model->setDictionary(json(R"({"pagenav": {"totalpages": "-3"}})"));
    EXPECT_EQ(model->navs().size(), 1);
    EXPECT_EQ(model->pagenumber(), 0u);
    EXPECT_EQ(model->totalpages(), 0u);

    auto own = Model::create<PageNav>();
    own->setPagenumber(QStringLiteral("7"));
    model->setPagenav(own);
    EXPECT_EQ(model->navs().value(QStringLiteral("7")), own);
}

TEST_F(PagingTest, WithoutABlockThePagesAreCounted)
{
    auto model = Model::create<PagedModel>();
    model->setDictionary(json(R"({"pagenav": "not a block"})"));
    EXPECT_FALSE(model->pagenav());
    for (int page = 1; page <= 3; ++page)
        model->pages().insert(ModelWithPages::pageKey(page), {Model::create<SampleModel>()});
    EXPECT_EQ(model->pagenumber(), 3u);
    EXPECT_EQ(model->totalpages(), 3u);
}

TEST_F(PagingTest, BlockItemsComeFromOneObjectOrAList)
{
    auto single = Model::createWithDictionary<PageNav>(
        json(R"({"pagenav": {"curpage": "1", "numbers": {"first": "1", "last": "20"}}})"));
    ASSERT_EQ(single->pagenav().size(), 1);
    const auto item = single->pagenav().first();
    EXPECT_EQ(item->curpage(), QStringLiteral("1"));
    ASSERT_TRUE(item->pagenumbers());
    EXPECT_EQ(item->pagenumbers()->first(), QStringLiteral("1"));
    EXPECT_EQ(item->pagenumbers()->last(), QStringLiteral("20"));

    auto list = Model::createWithDictionary<PageNav>(
        json(R"({"pagenav": [{"pagenumbers": {"first": "1", "last": "20"}}, {"pagenumbers": {"first": 21}}]})"));
    ASSERT_EQ(list->pagenav().size(), 2);
    EXPECT_EQ(list->pagenav()[1]->pagenumbers()->first(), QStringLiteral("21"));

    list->setPagenav(Value());
    EXPECT_TRUE(list->pagenav().isEmpty());
    auto noInterval = Model::createWithDictionary<PageNavItem>(json(R"({"curpage": "2"})"));
    EXPECT_FALSE(noInterval->pagenumbers());
}

TEST_F(PagingTest, ItemsPerPageIsAnIntegerDivision)
{
    auto nav = Model::createWithDictionary<PageNav>(json(R"({"total": "45", "totalpages": "2"})"));
    EXPECT_EQ(nav->itemsPerPage(), 22);
    nav->setTotalpages(QStringLiteral("0"));
    EXPECT_EQ(nav->itemsPerPage(), 0);
    nav->setTotal(QStringLiteral("-2147483648"));
    nav->setTotalpages(QStringLiteral("-1"));
    EXPECT_EQ(nav->itemsPerPage(), 2147483647);
}

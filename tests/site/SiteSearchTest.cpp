#include "site/SiteSearch.h"
#include "webview/HeaderText.h"

#include <gtest/gtest.h>

#include <QByteArray>

namespace {

struct EncodeCase
{
    QByteArray name;
    QByteArray encoded;
};

class FormUrlEncodeTable : public testing::TestWithParam<EncodeCase>
{
};

TEST_P(FormUrlEncodeTable, EncodesEachByte)
{
    EXPECT_EQ(site::FormUrlEncode(GetParam().name), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormUrlEncodeTable,
    testing::Values(EncodeCase{"", ""}, EncodeCase{"a b&c", "a+b%26c"},
                    EncodeCase{"\xD5\xC5", "%D5%C5"}, // 张
                    EncodeCase{"x~y", "x%7Ey"}, EncodeCase{"AZaz09!$'()*-._@", "AZaz09!$'()*-._@"},
                    EncodeCase{"+=%/?#:;,\"<>[]^`{|}\\",
                               "%2B%3D%25%2F%3F%23%3A%3B%2C%22%3C%3E%5B%5D%5E%60%7B%7C%7D%5C"},
                    EncodeCase{"  ", "++"},
                    EncodeCase{QByteArray("\x00\x01\t\r\n\x7F", 6), "%00%01%09%0D%0A%7F"},
                    EncodeCase{"\x80\xFF\xAB", "%80%FF%AB"},
                    // byte by byte: a trail byte that is an ASCII letter stays a letter
                    EncodeCase{"\x81\x41z", "%81Az"}));

TEST(SiteSearch, UserSearchBodies)
{
    const struct
    {
        QByteArray name;
        QByteArray body;
    } cases[] = {
        {"", "UserName=&Submit="},
        {"a b&c", "UserName=a+b%26c&Submit="},
        {"\xD5\xC5", "UserName=%D5%C5&Submit="},
        {"x~y", "UserName=x%7Ey&Submit="},
        {" lead and trail ", "UserName=+lead+and+trail+&Submit="}, // not trimmed
    };
    for (const auto& c : cases) {
        const site::UserSearchRequest r = site::UserSearch("http://www.zantu.com", c.name);
        EXPECT_EQ(r.body, c.body) << c.name.constData();
        EXPECT_FALSE(r.body.endsWith('\0'));
        EXPECT_EQ(r.url, "http://buy.zantu.com/User/UserBuyInfo/UserBuyInfo.php");
    }
    EXPECT_EQ(site::UserSearch("http://www.zantu.com", "").body.size(), 17);
}

TEST(SiteSearch, HeaderTextEndsWithLineFeedThenCarriageReturn)
{
    const QByteArray header = site::UserSearch("http://www.zantu.com", "a").headerText;
    EXPECT_EQ(header.size(), 49);
    EXPECT_EQ(header, QByteArray("Content-Type: application/x-www-form-urlencoded") + '\n' + '\r');

    const auto parsed = webview::ParseHeaderText(header);
    ASSERT_EQ(parsed.size(), 1);
    EXPECT_EQ(parsed[0].first, "Content-Type");
    EXPECT_EQ(parsed[0].second, "application/x-www-form-urlencoded");
}

TEST(SiteSearch, ParseHeaderTextSkipsBlankAndMalformedLines)
{
    const auto parsed =
        webview::ParseHeaderText("\r\nA: 1\r\n\r\nnocolon\n: empty\nB:two words \n");
    ASSERT_EQ(parsed.size(), 2);
    EXPECT_EQ(parsed[0], (QPair<QByteArray, QByteArray>{"A", "1"}));
    EXPECT_EQ(parsed[1], (QPair<QByteArray, QByteArray>{"B", "two words"}));
}

struct BaseCase
{
    QByteArray homePage;
    QByteArray planUrlFor12345;
    QByteArray userUrl;
};

class SearchAddresses : public testing::TestWithParam<BaseCase>
{
};

TEST_P(SearchAddresses, FromTheHomePage)
{
    const BaseCase& c = GetParam();
    EXPECT_EQ(site::PlanSearchUrl(c.homePage, 12345), c.planUrlFor12345);
    EXPECT_EQ(site::UserSearch(c.homePage, "u").url, c.userUrl);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SearchAddresses,
    testing::Values(
        BaseCase{"http://www.zantu.com",
                 "http://buy.zantu.com/Buy06/JoinLotteryProject.php?ProjectID=12345",
                 "http://buy.zantu.com/User/UserBuyInfo/UserBuyInfo.php"},
        // upper-case marker maps the same way
        BaseCase{"http://WWW.ZANTU.COM",
                 "http://buy.zantu.COM/Buy06/JoinLotteryProject.php?ProjectID=12345",
                 "http://buy.zantu.COM/User/UserBuyInfo/UserBuyInfo.php"},
        // mixed case stays on the home page's own host
        BaseCase{"http://Www.Zantu.com",
                 "http://Www.Zantu.com/Buy06/JoinLotteryProject.php?ProjectID=12345",
                 "http://Www.Zantu.com/User/UserBuyInfo/UserBuyInfo.php"},
        // a trailing slash doubles; path and query kept as they stand
        BaseCase{"http://www.zantu.com/",
                 "http://buy.zantu.com//Buy06/JoinLotteryProject.php?ProjectID=12345",
                 "http://buy.zantu.com//User/UserBuyInfo/UserBuyInfo.php"},
        BaseCase{"http://www.zantu.com/index.php?a=1",
                 "http://buy.zantu.com/index.php?a=1/Buy06/JoinLotteryProject.php?ProjectID=12345",
                 "http://buy.zantu.com/index.php?a=1/User/UserBuyInfo/UserBuyInfo.php"},
        // every occurrence, both forms
        BaseCase{"http://www.zantu.com/WWW.ZANTU",
                 "http://buy.zantu.com/buy.zantu/Buy06/JoinLotteryProject.php?ProjectID=12345",
                 "http://buy.zantu.com/buy.zantu/User/UserBuyInfo/UserBuyInfo.php"},
        BaseCase{"http://127.0.0.1:8765",
                 "http://127.0.0.1:8765/Buy06/JoinLotteryProject.php?ProjectID=12345",
                 "http://127.0.0.1:8765/User/UserBuyInfo/UserBuyInfo.php"},
        BaseCase{"", "/Buy06/JoinLotteryProject.php?ProjectID=12345",
                 "/User/UserBuyInfo/UserBuyInfo.php"}));

TEST(SiteSearch, PlanNumberIsPlainDigits)
{
    const struct
    {
        double boxValue;
        QByteArray tail;
    } cases[] = {
        {0, "ProjectID=0"},
        {7, "ProjectID=7"},
        {12345, "ProjectID=12345"},
        {1234567, "ProjectID=1234567"},
        {100000000, "ProjectID=100000000"},
        {2.5, "ProjectID=2"},
        {3.5, "ProjectID=4"}, // halves to the even neighbour
        {12344.4, "ProjectID=12344"},
        {12344.6, "ProjectID=12345"},
    };
    for (const auto& c : cases) {
        const QByteArray url =
            site::PlanSearchUrl("http://www.zantu.com", site::PlanNumber(c.boxValue));
        EXPECT_TRUE(url.endsWith("/Buy06/JoinLotteryProject.php?" + c.tail)) << url.constData();
        EXPECT_FALSE(url.contains(',')) << url.constData();
    }
}

} // namespace

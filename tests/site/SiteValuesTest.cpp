#include "site/SiteValues.h"

#include <gtest/gtest.h>

#include <QByteArray>

namespace {

TEST(AccountPages, SixFilledEntriesThenEmptyOnes)
{
    const char* const filled[] = {"StationInfo.php",     "ModifyPassword.php",
                                  "UserModifyBank.php",  "UserModifyMobile.php",
                                  "UserModifyOther.php", "UserModifyInfo.php"};
    static_assert(sizeof(site::AccountPages) / sizeof(site::AccountPages[0]) == 20);
    for (int i = 0; i < site::AccountPageCount; ++i) {
        ASSERT_NE(site::AccountPages[i], nullptr) << i;
        EXPECT_EQ(QByteArray(site::AccountPages[i]), QByteArray(i < 6 ? filled[i] : "")) << i;
    }
}

struct UrlCase
{
    const char* url;
    bool accountPage;
};

class AccountPageUrl : public testing::TestWithParam<UrlCase>
{
};

TEST_P(AccountPageUrl, OpensInPopupOnlyForAnAccountPageFragment)
{
    EXPECT_EQ(site::IsAccountPageUrl(GetParam().url), GetParam().accountPage) << GetParam().url;
}

INSTANTIATE_TEST_SUITE_P(
    Table, AccountPageUrl,
    testing::Values(UrlCase{"http://www.zantu.com/User/StationInfo.php", true},
                    UrlCase{"http://www.zantu.com/ModifyPassword.php?x=1", true},
                    UrlCase{"http://127.0.0.1:8080/a/UserModifyBank.php", true},
                    UrlCase{"UserModifyMobile.php", true},
                    UrlCase{"http://h/UserModifyOther.php#top", true},
                    UrlCase{"http://h/q?next=UserModifyInfo.php", true},
                    // case-sensitive
                    UrlCase{"http://h/usermodifybank.php", false},
                    UrlCase{"http://h/USERMODIFYBANK.PHP", false},
                    // a fragment cut short is no match
                    UrlCase{"http://h/UserModifyBank.ph", false},
                    UrlCase{"http://www.zantu.com/StationIndex.php", false},
                    UrlCase{"about:blank", false}, UrlCase{"", false}));

TEST(SiteValues, HostsAndMarkers)
{
    EXPECT_EQ(QByteArray(site::Domain), "zantu.com");
    EXPECT_EQ(QByteArray(site::DomainSuffixMarker), ".com");
    EXPECT_EQ(QByteArray(site::DomainSuffixMarker).size(), 4);
    EXPECT_EQ(QByteArray(site::MainHost), "www.zantu.com");
    EXPECT_EQ(QByteArray(site::MainHostMarker), "www.zantu");
    EXPECT_EQ(QByteArray(site::MainHostMarkerUpper), "WWW.ZANTU");
    EXPECT_EQ(QByteArray(site::PurchaseHostMarker), "buy.zantu");
    EXPECT_TRUE(QByteArray(site::MainHost).startsWith(site::MainHostMarker));
}

} // namespace

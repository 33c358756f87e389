#include "browsing/StationRule.h"

#include <gtest/gtest.h>

#include <QByteArray>

namespace {

using browsing::StationView;

const QByteArray Open = "\xA1\xBE";                            // 【
const QByteArray Close = "\xA1\xBF";                           // 】
const QByteArray HomeTail = "] Zantu\xCD\xF8\xCA\xD7\xD2\xB3"; // ] Zantu网首页
const QByteArray Name = "\xB2\xE2\xCA\xD4\xD5\xBE";            // 测试站

struct StationCase
{
    const char* what;
    QByteArray url;
    QByteArray title;
    StationView view;
    QByteArray stored; // what Config.ini's StationName reads
    // expected
    QByteArray name;
    bool captions;
    QByteArray prefix;
    bool writesName;
    bool writesHomePage;
    bool readsStored;
};

class StationRuleTable : public testing::TestWithParam<StationCase>
{
};

TEST_P(StationRuleTable, Outcome)
{
    const StationCase& c = GetParam();
    int reads = 0;
    browsing::StationRuleInput in;
    in.url = c.url;
    in.title = c.title;
    in.view = c.view;
    in.readStoredStationName = [&] {
        ++reads;
        return c.stored;
    };
    const browsing::StationRuleOutcome out = browsing::ApplyStationRule(in);

    SCOPED_TRACE(c.what);
    EXPECT_TRUE(out.ran);
    EXPECT_EQ(out.currentStationName, c.name);
    EXPECT_EQ(reads, c.readsStored ? 1 : 0);
    EXPECT_EQ(out.setCaptions, c.captions);
    if (c.captions) {
        EXPECT_EQ(out.windowCaption, Open + c.name + Close + " " + c.prefix);
        EXPECT_EQ(out.homeTabCaption, "[" + c.name + HomeTail);
    }
    EXPECT_EQ(out.writeStationName, c.writesName);
    if (c.writesName) {
        EXPECT_EQ(out.stationName, c.title);
    }
    EXPECT_EQ(out.writeHomePage, c.writesHomePage);
    if (c.writesHomePage) {
        EXPECT_EQ(out.homePage, c.prefix);
    }
    EXPECT_EQ(out.markSaved, c.writesName);
}

constexpr StationView Page = StationView::PageTab;
constexpr StationView Home = StationView::HomeTab;

INSTANTIATE_TEST_SUITE_P(
    Table, StationRuleTable,
    testing::Values(
        StationCase{"page tab, station page", "http://www.zantu.com/StationIndex.php?id=3", Name,
                    Page, "old", Name, true, "http://www.zantu.com", true, true, false},
        StationCase{"home tab writes the name only", "http://www.zantu.com/StationIndex.php", Name,
                    Home, "old", Name, true, "http://www.zantu.com", true, false, false},
        // the prefix ends with the first ".com", wherever it stands
        StationCase{"marker in a sub-domain", "http://a.com.zantu.com/x/StationIndex.php", Name,
                    Page, "", Name, true, "http://a.com", true, true, false},
        StationCase{"marker only in the path", "http://127.0.0.1/site.com/StationIndex.php", Name,
                    Page, "", Name, true, "http://127.0.0.1/site.com", true, true, false},
        StationCase{"port behind the marker is cut", "http://www.zantu.com:8080/StationIndex.php",
                    Name, Page, "", Name, true, "http://www.zantu.com", true, true, false},
        // without the marker the origin, host and port as they stand
        StationCase{"no marker: origin", "http://127.0.0.1:8765/a/StationIndex.php", Name, Page, "",
                    Name, true, "http://127.0.0.1:8765", true, true, false},
        StationCase{"no marker: origin, query straight after host",
                    "http://Station.Zantu.NET?p=StationIndex.php", Name, Page, "", Name, true,
                    "http://Station.Zantu.NET", true, true, false},
        StationCase{"no marker, home tab", "https://zantu.cn/StationIndex.php", Name, Home, "",
                    Name, true, "https://zantu.cn", true, false, false},
        // no origin at all: the caption carries none and no home page is written
        StationCase{"no scheme", "StationIndex.php", Name, Page, "", Name, true, "", true, false,
                    false},
        // an empty title falls back on the stored name and writes nothing
        StationCase{"empty title, page tab", "http://www.zantu.com/StationIndex.php", "", Page,
                    Name, Name, true, "http://www.zantu.com", false, false, true},
        StationCase{"empty title, nothing stored", "http://10.0.0.1/StationIndex.php", "", Home,
                    "0", "0", true, "http://10.0.0.1", false, false, true},
        // other pages only take the title as the name
        StationCase{"other page", "http://www.zantu.com/index.php", Name, Page, "x", Name, false,
                    "", false, false, false},
        StationCase{"other page, empty title", "http://www.zantu.com/index.php", "", Home, "x", "",
                    false, "", false, false, false},
        StationCase{"case-sensitive page name", "http://www.zantu.com/stationindex.php", Name, Page,
                    "x", Name, false, "", false, false, false}));

TEST(StationRule, DoesNothingOnceSaved)
{
    for (const StationView view : {Page, Home}) {
        browsing::StationRuleInput in;
        in.url = "http://www.zantu.com/StationIndex.php";
        in.title = Name;
        in.view = view;
        in.stationNameSaved = true;
        bool read = false;
        in.readStoredStationName = [&] {
            read = true;
            return QByteArray("0");
        };
        const browsing::StationRuleOutcome out = browsing::ApplyStationRule(in);
        EXPECT_FALSE(out.ran);
        EXPECT_FALSE(out.setCaptions);
        EXPECT_FALSE(out.writeStationName);
        EXPECT_FALSE(out.writeHomePage);
        EXPECT_FALSE(out.markSaved);
        EXPECT_FALSE(read);
    }
}

TEST(StationRule, WholeTitleOfHundredsOfBytesIsTheName)
{
    browsing::StationRuleInput in;
    in.url = "http://www.zantu.com/StationIndex.php";
    in.title = Name.repeated(100);
    const browsing::StationRuleOutcome out = browsing::ApplyStationRule(in);
    EXPECT_EQ(out.currentStationName.size(), 600);
    EXPECT_EQ(out.stationName, in.title);
}

TEST(StationUrlPrefix, Table)
{
    const struct
    {
        QByteArray url;
        QByteArray prefix;
    } cases[] = {
        {"http://www.zantu.com/StationIndex.php", "http://www.zantu.com"},
        {"http://www.zantu.com", "http://www.zantu.com"},
        {".com", ".com"},
        {"http://localhost", "http://localhost"},
        {"http://user@host:1/x", "http://user@host:1"},
        {"http://h#frag", "http://h"},
        {"file:///tmp/StationIndex.php", ""},
        {"http:///StationIndex.php", ""},
        {"about:blank", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(browsing::StationUrlPrefix(c.url), c.prefix) << c.url.constData();
}

} // namespace

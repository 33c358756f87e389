#include "webview/PrintProfile.h"

#include "localfiles/MemIniFile.h"

#include <gtest/gtest.h>

namespace {

using Kind = webview::PrintProfileChoice::Kind;

webview::PrintProfileChoice choose(const QByteArray& ini, const QByteArray& url)
{
    return webview::ChoosePrintProfile(localfiles::MemIniFile::FromBytes(ini), url);
}

const QByteArray TicketUrl = "http://127.0.0.1:8080/Buy06/ticket.php?ID=7";

struct MatchCase
{
    const char* what;
    QByteArray ini;
    Kind kind;
    QByteArray section;
};

class PrintProfileMatch : public testing::TestWithParam<MatchCase>
{
};

TEST_P(PrintProfileMatch, FirstSectionThatMatchesInFileOrder)
{
    const MatchCase& c = GetParam();
    const webview::PrintProfileChoice choice = choose(c.ini, TicketUrl);
    EXPECT_EQ(choice.kind, c.kind) << c.what;
    EXPECT_EQ(choice.profile.section, c.section) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, PrintProfileMatch,
    testing::Values(
        MatchCase{"no file", "", Kind::None, ""},
        MatchCase{"keys before any section belong to none", "UrlContains=ticket\r\n", Kind::None,
                  ""},
        MatchCase{"no section matches", "[A]\r\nUrlContains=/plans.php\r\n", Kind::None, ""},
        MatchCase{"the first of two that match",
                  "[A]\r\nUrlContains=ticket.php\r\n[B]\r\nUrlContains=/Buy06/\r\n", Kind::Usable,
                  "A"},
        MatchCase{"a later one when the first does not match",
                  "[A]\r\nUrlContains=/plans.php\r\n[B]\r\nUrlContains=/Buy06/\r\n", Kind::Usable,
                  "B"},
        MatchCase{
            "no UrlContains matches every page",
            "[A]\r\nUrlContains=/plans.php\r\n[Any]\r\nCopies=2\r\n[B]\r\nUrlContains=ticket\r\n",
            Kind::Usable, "Any"},
        MatchCase{"an empty UrlContains matches every page", "[Any]\r\nUrlContains=\r\n",
                  Kind::Usable, "Any"},
        MatchCase{"addresses compare with case", "[A]\r\nUrlContains=/buy06/\r\n", Kind::None, ""},
        MatchCase{"the key itself without case", "[A]\r\nurlcontains=/plans.php\r\n", Kind::None,
                  ""},
        MatchCase{"a GBK section name", "[\xD0\xA1\xC6\xB1]\r\nUrlContains=ticket\r\n",
                  Kind::Usable, "\xD0\xA1\xC6\xB1"},
        MatchCase{"a GBK name whose last byte is a bracket", "[\x81\x5D]\r\nUrlContains=ticket\r\n",
                  Kind::Usable, "\x81\x5D"},
        MatchCase{"an unusable first match is not passed over",
                  "[A]\r\nUrlContains=ticket\r\nCopies=x\r\n[B]\r\n", Kind::Unusable, "A"},
        MatchCase{"an unusable section that does not match is passed over",
                  "[A]\r\nUrlContains=/plans.php\r\nCopies=x\r\n[B]\r\n", Kind::Usable, "B"}));

TEST(PrintProfile, AddressesWithGbkTextMatchOnCharacterBoundaries)
{
    // "\xB0\xA1" holds the byte "\xA1" that "\xA1\xB0" would find across two characters.
    const QByteArray ini = "[A]\r\nUrlContains=\xA1\xB0\r\n";
    EXPECT_EQ(choose(ini, "http://x/\xB0\xA1\xB0\xA1").kind, Kind::None);
    EXPECT_EQ(choose(ini, "http://x/\xA1\xB0").kind, Kind::Usable);
}

TEST(PrintProfile, EveryKeyRead)
{
    const webview::PrintProfileChoice choice =
        choose("[Ticket80]\r\nUrlContains = ticket.php\r\nPrinter = XP-80C \xC7\xB0\xCC\xA8\r\n"
               "Silent=1\r\nPaperWidthMm=80\r\nPaperHeightMm=200.5\r\nMarginsMm=2.5\r\n"
               "Copies=3\r\n",
               TicketUrl);
    ASSERT_EQ(choice.kind, Kind::Usable);
    const webview::PrintProfile& p = choice.profile;
    EXPECT_EQ(p.section, "Ticket80");
    EXPECT_EQ(p.printer, "XP-80C \xC7\xB0\xCC\xA8");
    EXPECT_TRUE(p.silent);
    EXPECT_EQ(p.paperWidthMm, 80.0);
    EXPECT_EQ(p.paperHeightMm, 200.5);
    EXPECT_EQ(p.marginsMm, 2.5);
    EXPECT_EQ(p.copies, 3);
}

TEST(PrintProfile, MissingAndEmptyKeysTakeTheDefaults)
{
    for (const QByteArray& ini :
         {QByteArray("[A]\r\n"), QByteArray("[A]\r\nPrinter=\r\nSilent=\r\nPaperWidthMm=\r\n"
                                            "PaperHeightMm=\r\nMarginsMm=\r\nCopies=\r\n")}) {
        const webview::PrintProfileChoice choice = choose(ini, TicketUrl);
        ASSERT_EQ(choice.kind, Kind::Usable);
        const webview::PrintProfile& p = choice.profile;
        EXPECT_EQ(p.printer, "");
        EXPECT_FALSE(p.silent);
        EXPECT_FALSE(p.paperWidthMm);
        EXPECT_FALSE(p.paperHeightMm);
        EXPECT_FALSE(p.marginsMm);
        EXPECT_EQ(p.copies, 1);
    }
    EXPECT_FALSE(choose("[A]\r\nSilent=0\r\n", TicketUrl).profile.silent);
}

struct BadCase
{
    QByteArray lines; // in a section that matches, before its Silent=1
    QByteArray key;
    QByteArray value;
};

class PrintProfileUnusable : public testing::TestWithParam<BadCase>
{
};

TEST_P(PrintProfileUnusable, NamesTheKeyAndItsValue)
{
    const BadCase& c = GetParam();
    const webview::PrintProfileChoice choice =
        choose("[\xD0\xA1\xC6\xB1]\r\nPrinter=XP-80C\r\n" + c.lines + "Silent=1\r\n", TicketUrl);
    EXPECT_EQ(choice.kind, Kind::Unusable) << c.lines.toStdString();
    EXPECT_EQ(choice.profile.section, "\xD0\xA1\xC6\xB1");
    EXPECT_EQ(choice.badKey, c.key) << c.lines.toStdString();
    EXPECT_EQ(choice.badValue, c.value) << c.lines.toStdString();
    // Nothing of an unusable profile is used.
    EXPECT_EQ(choice.profile.printer, "");
    EXPECT_FALSE(choice.profile.silent);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PrintProfileUnusable,
    testing::Values(
        BadCase{"Silent=2\r\n", "Silent", "2"}, BadCase{"Silent=yes\r\n", "Silent", "yes"},
        BadCase{"Silent=\"1\"\r\n", "Silent", "\"1\""}, // the reader keeps quotes
        BadCase{"PaperWidthMm=abc\r\nPaperHeightMm=200\r\n", "PaperWidthMm", "abc"},
        BadCase{"PaperWidthMm=80mm\r\nPaperHeightMm=200\r\n", "PaperWidthMm", "80mm"},
        BadCase{"PaperWidthMm=80\r\nPaperHeightMm=-200\r\n", "PaperHeightMm", "-200"},
        BadCase{"PaperWidthMm=80,5\r\nPaperHeightMm=200\r\n", "PaperWidthMm", "80,5"},
        BadCase{"PaperWidthMm=8e1\r\nPaperHeightMm=200\r\n", "PaperWidthMm", "8e1"},
        BadCase{"PaperWidthMm=0\r\nPaperHeightMm=200\r\n", "PaperWidthMm", "0"},
        BadCase{"PaperWidthMm=80\r\nPaperHeightMm=6000\r\n", "PaperHeightMm", "6000"},
        BadCase{"PaperWidthMm=\xB0\xCB\xCA\xAE\r\nPaperHeightMm=200\r\n", "PaperWidthMm",
                "\xB0\xCB\xCA\xAE"},
        BadCase{"PaperWidthMm=80\r\n", "PaperHeightMm", ""},
        BadCase{"PaperHeightMm=200\r\n", "PaperWidthMm", ""},
        BadCase{"MarginsMm=-1\r\n", "MarginsMm", "-1"},
        BadCase{"MarginsMm=101\r\n", "MarginsMm", "101"},
        BadCase{"PaperWidthMm=80\r\nPaperHeightMm=200\r\nMarginsMm=40\r\n", "MarginsMm", "40"},
        BadCase{"Copies=0\r\n", "Copies", "0"}, BadCase{"Copies=10\r\n", "Copies", "10"},
        BadCase{"Copies=1.5\r\n", "Copies", "1.5"}, BadCase{"Copies=+2\r\n", "Copies", "+2"},
        BadCase{"Copies=two\r\n", "Copies", "two"},
        // The first key at fault is the one named.
        BadCase{"Copies=0\r\nSilent=x\r\n", "Silent", "x"}));

TEST(PrintProfile, NumbersAtTheEdgesOfTheirRanges)
{
    const webview::PrintProfileChoice choice = choose(
        "[A]\r\nPaperWidthMm=10\r\nPaperHeightMm=5000\r\nMarginsMm=0\r\nCopies=9\r\n", TicketUrl);
    ASSERT_EQ(choice.kind, Kind::Usable);
    EXPECT_EQ(choice.profile.paperWidthMm, 10.0);
    EXPECT_EQ(choice.profile.paperHeightMm, 5000.0);
    EXPECT_EQ(choice.profile.marginsMm, 0.0);
    EXPECT_EQ(choice.profile.copies, 9);
    // Margins without a paper of the profile's own are the printer's business.
    EXPECT_EQ(choose("[A]\r\nMarginsMm=100\r\n", TicketUrl).kind, Kind::Usable);
}

#ifdef DEMO_PRINT_INI
// The demo's program folder prints the demo site's ticket silently on the
// default printer.
TEST(PrintProfile, TheDemosTicketPrintsSilentlyOnTheDefaultPrinter)
{
    const localfiles::MemIniFile ini(DEMO_PRINT_INI);
    const webview::PrintProfileChoice choice = webview::ChoosePrintProfile(
        ini, "http://127.0.0.1:8080/Ticket/ticket.php?ID=20261210-0001");
    ASSERT_EQ(choice.kind, Kind::Usable);
    EXPECT_EQ(choice.profile.section, "\xCD\xB6\xD7\xA2\xD0\xA1\xC6\xB1"); // 投注小票
    EXPECT_TRUE(choice.profile.silent);
    EXPECT_EQ(choice.profile.printer, "");
    EXPECT_EQ(choice.profile.paperWidthMm, 80.0);
    EXPECT_EQ(webview::ChoosePrintProfile(ini, "http://127.0.0.1:8080/index.php").kind, Kind::None);
}
#endif

} // namespace

#include "site/LinkCheck.h"

#include <gtest/gtest.h>

namespace {

using site::LinkKind;

TEST(LinkCheck, InnermostElementAndTrimmedAddressDecide)
{
    struct Case
    {
        const char* tag;
        QByteArray href;
        LinkKind kind;
        QByteArray address;
    };
    const Case cases[] = {
        {"A", " \t\r\n/printdownload.php?ProjectID=7 \x01", LinkKind::PlanDownload,
         "/printdownload.php?ProjectID=7"},
        {"a", "http://x/a/printdownload.php", LinkKind::PlanDownload,
         "http://x/a/printdownload.php"},
        {"A", "/PrintDownload.php", LinkKind::None, "/PrintDownload.php"},
        {"A", "", LinkKind::None, ""},
        {"IMG", "/printdownload.php", LinkKind::None, "/printdownload.php"},
        {"IFRAME", "", LinkKind::None, ""},
        {"ABBR", "/printdownload.php", LinkKind::None, "/printdownload.php"},
        {"A", " /User/UserModifyBank.php", LinkKind::AccountPage, "/User/UserModifyBank.php"},
        {"A", "/User/usermodifybank.php", LinkKind::None, "/User/usermodifybank.php"},
        // A plan link is a plan link even when it names an account page.
        {"A", "/printdownload.php?from=StationInfo.php", LinkKind::PlanDownload,
         "/printdownload.php?from=StationInfo.php"},
        // GBK bytes inside the address stay as they are.
        {"A", "  /\xD5\xC5/printdownload.php ", LinkKind::PlanDownload,
         "/\xD5\xC5/printdownload.php"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.href.toStdString());
        const site::PressedElement element{c.tag, c.href};
        EXPECT_EQ(site::ClassifyPress(element), c.kind);
        EXPECT_EQ(site::LinkAddress(element), c.address);
    }
}

} // namespace

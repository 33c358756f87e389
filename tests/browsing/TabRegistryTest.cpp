#include "shell/U_PrintTicket.h"

#include "browsing/NavigationBar.h"
#include "browsing/PageTabs.h"
#include "browsing/TabSheet.h"
#include "browsing/U_WebPopWindows.h"
#include "localfiles/Gbk.h"
#include "support/FakeWebBrowser.h"
#include "support/MessageBoxRecorder.h"
#include "support/QuietMainWindow.h"
#include "support/TempProgramFolder.h"
#include "support/WindowParts.h"
#include "ui/MessageBoxes.h"

#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// The registry on the real tab widget, with browsers that load nothing.
class TabRegistryTest : public ::testing::Test
{
protected:
    void SetUp() override { window.show(); }

    int open()
    {
        int slot = -1, page = -1;
        EXPECT_TRUE(window.OpenNewTab({}, slot, page));
        PageWebClient(window)->setCurrentIndex(page);
        return slot;
    }
    void closeSlot(int slot)
    {
        PageWebClient(window)->setCurrentWidget(window.Tabs().TabSheets()[slot]);
        window.PageWebClientClose();
    }
    int pageOf(int slot) const
    {
        return PageWebClient(window)->indexOf(window.Tabs().TabSheets()[slot]);
    }
    bool visible(int slot) const { return PageWebClient(window)->isTabVisible(pageOf(slot)); }
    FakeWebBrowser* browserOf(int slot) const
    {
        return static_cast<FakeWebBrowser*>(window.Tabs().PageFrames()[slot]->Browser());
    }

    TempProgramFolder folder;
    MessageBoxRecorder boxes;
    FakeWebBrowserFactory browsers;
    QuietMainWindow window{browsers};
};

TEST_F(TabRegistryTest, FirstTabTakesSlotOneWithItsNamesAndCaption)
{
    int slot = -1, page = -1;
    ASSERT_TRUE(window.OpenNewTab({}, slot, page));
    EXPECT_EQ(slot, 1);
    EXPECT_EQ(page, 1);
    EXPECT_EQ(PageWebClient(window)->currentIndex(), 0); // opening does not switch tabs
    EXPECT_EQ(PageWebClient(window)->tabText(1), U("新窗口(New Page)1"));
    EXPECT_EQ(window.Tabs().TabSheets()[1]->objectName(), "Web_TabSheet1");
    EXPECT_EQ(window.Tabs().TabSheets()[1]->Tag, 1);
    EXPECT_EQ(window.Tabs().PageFrames()[1]->objectName(), "Web_Browse1");
    EXPECT_EQ(window.Tabs().PageFrames()[1]->Tag, 1);
    EXPECT_EQ(window.Tabs().PageFrames()[1]->parentWidget(), window.Tabs().TabSheets()[1]);
    EXPECT_EQ(window.Tabs().PageFrames()[0], nullptr);

    ASSERT_TRUE(window.OpenNewTab("  My caption ", slot, page));
    EXPECT_EQ(PageWebClient(window)->tabText(page), "  My caption "); // used as given
}

TEST_F(TabRegistryTest, ClosingHidesBlanksAndSelectsTheNearestVisibleLeftNeighbour)
{
    open(), open(), open(); // slots 1, 2, 3 at page indexes 1, 2, 3
    FakeWebBrowser* closedBrowser = browserOf(2);
    TFrame_WebPopWindows* closedFrame = window.Tabs().PageFrames()[2];
    closeSlot(2);
    EXPECT_FALSE(visible(2));
    EXPECT_EQ(PageWebClient(window)->currentIndex(), 1);
    EXPECT_EQ(closedBrowser->Navigations.back(), "about:blank");
    EXPECT_EQ(window.Tabs().PageFrames()[2], closedFrame); // kept, hidden and blank

    // The next opening reuses slot 2 at the last position, with a fresh frame.
    int slot = -1, page = -1;
    ASSERT_TRUE(window.OpenNewTab({}, slot, page));
    EXPECT_EQ(slot, 2);
    EXPECT_EQ(page, 3);
    EXPECT_EQ(pageOf(2), 3);
    EXPECT_TRUE(visible(2));
    EXPECT_NE(window.Tabs().PageFrames()[2], closedFrame);
    EXPECT_EQ(PageWebClient(window)->tabText(3), U("新窗口(New Page)2"));
    EXPECT_EQ(PageWebClient(window)->count(), 4);
}

TEST_F(TabRegistryTest, LowestClosedSlotIsTakenFirst)
{
    for (int i = 0; i < 4; ++i)
        open();
    closeSlot(4);
    closeSlot(2);
    int slot = -1, page = -1;
    ASSERT_TRUE(window.OpenNewTab({}, slot, page));
    EXPECT_EQ(slot, 2);
    ASSERT_TRUE(window.OpenNewTab({}, slot, page));
    EXPECT_EQ(slot, 4);
    ASSERT_TRUE(window.OpenNewTab({}, slot, page));
    EXPECT_EQ(slot, 5);
}

TEST_F(TabRegistryTest, ClosingWithOnlyClosedLeftNeighboursSelectsTheHomeTab)
{
    open(), open();
    closeSlot(1);
    closeSlot(2);
    EXPECT_EQ(PageWebClient(window)->currentIndex(), 0);
}

TEST_F(TabRegistryTest, HomeTabRefusesToClose)
{
    open();
    PageWebClient(window)->setCurrentIndex(0);
    window.findChild<QToolButton*>(QStringLiteral("PageWebClientCloseButton"))->click();
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].text, gbk::fromUnicode(U("对不起主窗口不能关闭！")));
    EXPECT_EQ(boxes.boxes()[0].caption, gbk::fromUnicode(U("关闭提示：")));
    EXPECT_EQ(boxes.boxes()[0].flags, ui::Mb::Ok | ui::Mb::IconInformation);
    EXPECT_TRUE(visible(1));
    EXPECT_TRUE(PageWebClient(window)->isTabVisible(0));
}

TEST_F(TabRegistryTest, AHundredOpenSlotsRefuseAnotherTab)
{
    for (int i = 1; i < Tfrm_printTicket::SlotCount; ++i)
        open();
    int slot = -1, page = -1;
    EXPECT_FALSE(window.OpenNewTab({}, slot, page));
    EXPECT_EQ(PageWebClient(window)->count(), Tfrm_printTicket::SlotCount);
    // A closed slot is reused even then.
    closeSlot(50);
    ASSERT_TRUE(window.OpenNewTab({}, slot, page));
    EXPECT_EQ(slot, 50);
}

TEST_F(TabRegistryTest, ABackgroundPageClosingItsWindowClosesItsOwnTabOnly)
{
    open(), open();
    PageWebClient(window)->setCurrentWidget(window.Tabs().TabSheets()[2]);
    window.ClosePageTab(1);
    EXPECT_FALSE(visible(1));
    EXPECT_TRUE(visible(2));
    EXPECT_EQ(PageWebClient(window)->currentWidget(), window.Tabs().TabSheets()[2]);
}

// The hints that tell what to type stand in the home tab's boxes only; a page
// tab's boxes are bare, as tooltip and as placeholder.
TEST_F(TabRegistryTest, OnlyTheHomeTabsSearchBoxesCarryHints)
{
    const NavigationBar* home = Panel3(window);
    EXPECT_EQ(home->edt_UserName->toolTip(), U("请输入用户名，进行搜索..."));
    EXPECT_EQ(home->edt_ProjectID->toolTip(), U("请输入方案号码，进行查找..."));

    const TFrame_WebPopWindows* frame = window.Tabs().PageFrames()[open()];
    for (const QWidget* box :
         {static_cast<const QWidget*>(PartOf<QLineEdit>(*frame, "edt_UserName")),
          static_cast<const QWidget*>(PartOf<QSpinBox>(*frame, "edt_ProjectID"))}) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_TRUE(box->toolTip().isEmpty()) << box->toolTip().toStdString();
    }
    EXPECT_TRUE(PartOf<QLineEdit>(*frame, "edt_UserName")->placeholderText().isEmpty());
}

} // namespace

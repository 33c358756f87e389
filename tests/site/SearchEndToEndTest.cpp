#include "browsing/NavigationBar.h"
#include "browsing/U_WebPopWindows.h"
#include "localfiles/Gbk.h"
#include "support/LocalHttpServer.h"
#include "support/MessageBoxRecorder.h"
#include "support/QuietMainWindow.h"
#include "support/TempProgramFolder.h"
#include "support/Wait.h"
#include "support/WebTestProfile.h"
#include "support/WindowParts.h"
#include "webview/WebView.h"

#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

// The two search boxes of the home tab and of a page tab against a local
// site that records what it receives.
class SearchEndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* path :
             {"/", "/User/UserBuyInfo/UserBuyInfo.php", "/Buy06/JoinLotteryProject.php"})
            server.page(path, "<html><head><title>t</title></head><body>ok</body></html>");
        server.start();
        // The home page as the station keeps it: scheme, host and port.
        home = "http://127.0.0.1:" + QByteArray::number(server.port());
        folder.write("AutoUpdate.ini", "[Version]\r\nHomePage=" + home + "\r\n");
        window = std::make_unique<QuietMainWindow>(browsers);
        window->show();
        ASSERT_TRUE(WaitFor([&] { return server.count("/") == 1; }));
    }
    void TearDown() override { window.reset(); }

    std::vector<LocalHttpServer::Request> posts() const
    {
        std::vector<LocalHttpServer::Request> result;
        for (const LocalHttpServer::Request& r : server.requests())
            if (r.method == "POST")
                result.push_back(r);
        return result;
    }

    TempProgramFolder folder;
    MessageBoxRecorder boxes;
    LocalHttpServer server;
    QByteArray home;
    std::unique_ptr<QWebEngineProfile> profile = MakeTestProfile();
    webview::WebViewFactory browsers{profile.get()};
    std::unique_ptr<QuietMainWindow> window;
};

TEST_F(SearchEndToEndTest, UserSearchPostsTheEncodedNameAsTheSiteExpectsIt)
{
    const struct
    {
        QString typed;
        std::string body;
    } rows[] = {
        {QString(), "UserName=&Submit="},
        {QStringLiteral("a b&c"), "UserName=a+b%26c&Submit="},
        {QString::fromUtf8("张"), "UserName=%D5%C5&Submit="},
        {QStringLiteral("x~y"), "UserName=x%7Ey&Submit="},
    };
    for (const auto& row : rows) {
        const size_t before = posts().size();
        Panel3(*window)->edt_UserName->setText(row.typed);
        Panel3(*window)->Btn_SearchMan->click();
        ASSERT_TRUE(WaitFor([&] { return posts().size() == before + 1; })) << row.body;
        const LocalHttpServer::Request post = posts().back();
        EXPECT_EQ(post.target, "/User/UserBuyInfo/UserBuyInfo.php");
        EXPECT_EQ(post.body, row.body);
        EXPECT_EQ(post.headers.find("Content-Type")->second, "application/x-www-form-urlencoded");
        EXPECT_EQ(post.headers.count("Content-Type"), 1u);
    }
    EXPECT_TRUE(WaitFor([&] {
        return window->HomeBrowser()->LocationURL() == home + "/User/UserBuyInfo/UserBuyInfo.php";
    }));
}

TEST_F(SearchEndToEndTest, PlanSearchOpensThePlanPageWithPlainDigits)
{
    Panel3(*window)->edt_ProjectID->setValue(12345);
    EXPECT_EQ(Panel3(*window)->edt_ProjectID->text(), QStringLiteral("12,345"));
    Panel3(*window)->Btn_SearchProject_ID->click();
    ASSERT_TRUE(WaitFor([&] { return server.count("/Buy06/JoinLotteryProject.php") == 1; }));
    for (const LocalHttpServer::Request& r : server.requests()) {
        if (r.path == "/Buy06/JoinLotteryProject.php") {
            EXPECT_EQ(r.target, "/Buy06/JoinLotteryProject.php?ProjectID=12345");
        }
    }
}

TEST_F(SearchEndToEndTest, ASearchFromAPageTabLoadsInThatTab)
{
    TFrame_WebPopWindows* frame = window->OpenNewActiveTab();
    PartOf<QLineEdit>(*frame, "edt_UserName")->setText(QStringLiteral("tab"));
    PartOf<QToolButton>(*frame, "Btn_Search_Man")->click();
    ASSERT_TRUE(WaitFor([&] { return !posts().empty(); }));
    EXPECT_EQ(posts().back().body, "UserName=tab&Submit=");
    EXPECT_TRUE(WaitFor([&] {
        return frame->Browser()->LocationURL() == home + "/User/UserBuyInfo/UserBuyInfo.php";
    }));
    PartOf<QSpinBox>(*frame, "edt_ProjectID")->setValue(7);
    PartOf<QToolButton>(*frame, "Btn_SearchProject_ID")->click();
    EXPECT_TRUE(WaitFor([&] {
        return frame->Browser()->LocationURL() ==
               home + "/Buy06/JoinLotteryProject.php?ProjectID=7";
    }));
    EXPECT_NE(window->HomeBrowser()->LocationURL().right(12), QByteArray("ProjectID=7"));
}

} // namespace

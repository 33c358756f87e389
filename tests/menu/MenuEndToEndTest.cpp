#include "shell/U_PrintTicket.h"

#include "browsing/PageTabs.h"
#include "browsing/TabSheet.h"
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

#include <QAction>
#include <QMenu>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}
QByteArray G(const char* utf8)
{
    return gbk::fromUnicode(QString::fromUtf8(utf8));
}

// zantu.dll of two buttons, a submenu and a target that holds ":", opened
// by the main window against a local site.
class MenuEndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* path : {"/home.php", "/ssq.php", "/sfc.php", "/rx9.php", "/help.php"})
            server.page(path, "<html><head><title>t</title></head><body>p</body></html>");
        server.start();
        const QByteArray t1 = server.urlBytes("/ssq.php?play=a:b");
        const QByteArray menuFile =
            G("=彩票投注:1\r\n@双色球：") + t1 + G("\r\n@足彩：>>\r\n>胜负彩：") +
            server.urlBytes("/sfc.php") + G("\r\n>任选九：") + server.urlBytes("/rx9.php") +
            G("\r\n+\r\n\r\n=帮助:\r\n@使用说明：") + server.urlBytes("/help.php") + "\r\n+\r\n";
        folder.write("zantu.dll", menuFile);
        folder.write("AutoUpdate.ini",
                     "[Version]\r\nHomePage=" + server.urlBytes("/home.php") + "\r\n");
        window = std::make_unique<QuietMainWindow>(browsers);
        window->show();
    }
    void TearDown() override { window.reset(); }

    QAction* item(int button, const QString& caption) const
    {
        for (QAction* a : PartOf<QMenu>(*window, QStringLiteral("PopupM%1").arg(button))->actions())
            if (a->text() == caption)
                return a;
        return nullptr;
    }
    int requests(const std::string& path) const { return server.count(path); }

    TempProgramFolder folder;
    MessageBoxRecorder boxes;
    LocalHttpServer server;
    std::unique_ptr<QWebEngineProfile> profile = MakeTestProfile();
    webview::WebViewFactory browsers{profile.get()};
    std::unique_ptr<QuietMainWindow> window;
};

TEST_F(MenuEndToEndTest, ToolbarShowsTheLastButtonLeftmostBeforeTheDivider)
{
    const QList<QAction*> actions = PartOf<QToolBar>(*window, "sToolBar1")->actions();
    ASSERT_EQ(actions.size(), 3);
    auto* left = qobject_cast<QToolButton*>(
        PartOf<QToolBar>(*window, "sToolBar1")->widgetForAction(actions[0]));
    auto* right = qobject_cast<QToolButton*>(
        PartOf<QToolBar>(*window, "sToolBar1")->widgetForAction(actions[1]));
    ASSERT_TRUE(left && right);
    EXPECT_EQ(left->text(), U("帮助"));
    EXPECT_EQ(left, PartOf<QToolButton>(*window, "sSpeedB1"));
    EXPECT_EQ(right->text(), U("彩票投注"));
    EXPECT_EQ(right, PartOf<QToolButton>(*window, "sSpeedB0"));
    EXPECT_EQ(actions[2], PartOf<QAction>(*window, "ToolButton1"));
    EXPECT_EQ(left->size(), QSize(106, 60));
    ASSERT_TRUE(item(0, U("足彩")) && item(0, U("足彩"))->menu());
    EXPECT_EQ(item(0, U("足彩"))->menu()->actions().size(), 2);
}

TEST_F(MenuEndToEndTest, ChoosingAnItemFromAPageTabOpensItsTargetInANewLastTab)
{
    ASSERT_TRUE(window->OpenNewActiveTab());
    ASSERT_EQ(PageWebClient(*window)->currentIndex(), 1);
    QList<int> selected;
    QObject::connect(PageWebClient(*window), &QTabWidget::currentChanged, window.get(),
                     [&](int index) { selected.append(index); });

    item(0, U("双色球"))->trigger();
    EXPECT_EQ(selected, QList<int>({0, 2})); // the home tab first, then the new tab
    EXPECT_EQ(PageWebClient(*window)->currentIndex(), PageWebClient(*window)->count() - 1);
    EXPECT_FALSE(PartOf<QToolButton>(*window->Tabs().PageFrames()[2], "btn_goBack")->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return requests("/ssq.php") == 1; }));
    for (const LocalHttpServer::Request& r : server.requests()) {
        if (r.path == "/ssq.php") {
            EXPECT_EQ(r.target, "/ssq.php?play=a:b");
        }
    }

    // Every choice opens one more tab, the same target too.
    item(0, U("双色球"))->trigger();
    EXPECT_EQ(PageWebClient(*window)->count(), 4);
    EXPECT_TRUE(WaitFor([&] { return requests("/ssq.php") == 2; }));

    item(0, U("足彩"))->menu()->actions()[1]->trigger();
    EXPECT_EQ(PageWebClient(*window)->count(), 5);
    EXPECT_TRUE(WaitFor([&] { return requests("/rx9.php") == 1; }));
}

} // namespace

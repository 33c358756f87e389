// The demo site against a real client on 127.0.0.1: every page answers in
// well-formed GBK with the titles the client's rules are tried on, the echo
// pages show what they received, the update files come out as stored, and the
// sample program folder is GBK with the menu format's separators.

#include "DemoSite.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iconv.h>
#include <iterator>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Strict GBK to UTF-8: false on any byte sequence that is not GBK.
bool fromGbk(const std::string& gbk, std::string& utf8)
{
    iconv_t cd = iconv_open("UTF-8", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    utf8.assign(gbk.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(gbk.data());
    size_t inLeft = gbk.size();
    char* out = utf8.data();
    size_t outLeft = utf8.size();
    const size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
    iconv_close(cd);
    utf8.resize(utf8.size() - outLeft);
    return rc != static_cast<size_t>(-1) && inLeft == 0;
}

// The bytes between <title> and </title>, or "(none)".
std::string titleOf(const std::string& page)
{
    const auto open = page.find("<title>");
    if (open == std::string::npos)
        return "(none)";
    const auto close = page.find("</title>", open);
    return page.substr(open + 7, close - open - 7);
}

std::string readFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class DemoSiteTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FUpdateDir =
            fs::temp_directory_path() / ("zantu-demo-site-test-" + std::to_string(::getpid()));
        fs::create_directories(FUpdateDir / "sub");
        std::ofstream(FUpdateDir / "AutoUpdate.ini", std::ios::binary)
            << "[Version]\r\nUpdateServer={{SITE}}/update/\r\nHomePage={{SITE}}/index.php\r\n";
        std::ofstream(FUpdateDir / "Update.exe", std::ios::binary) << "#!/bin/sh\n# {{SITE}}\n";
        std::ofstream(FUpdateDir / ".hidden") << "x";
        std::ofstream(FUpdateDir / "sub" / "inner.ini") << "x";
        std::ofstream(FUpdateDir.parent_path() / "outside.ini") << "x";

        FSite = std::make_unique<DemoSite>(UpdateFiles(FUpdateDir), FLog);
        FPort = FSite->bind(0);
        ASSERT_GT(FPort, 0);
        FThread = std::thread([this] { FSite->listen(); });
        FClient = std::make_unique<httplib::Client>("127.0.0.1", FPort);
    }

    void TearDown() override
    {
        FSite->stop();
        FThread.join();
        fs::remove_all(FUpdateDir);
    }

    std::string site() const { return "http://127.0.0.1:" + std::to_string(FPort); }

    fs::path FUpdateDir;
    std::ostringstream FLog;
    std::unique_ptr<DemoSite> FSite;
    int FPort = 0;
    std::thread FThread;
    std::unique_ptr<httplib::Client> FClient;
};

TEST_F(DemoSiteTest, EveryPageAnswersInGbkWithItsTitle)
{
    struct Case
    {
        const char* target;
        int status;
        const char* title; // UTF-8; "(none)" for a page without one
        size_t titleBytes; // GBK bytes of the title; 0 = not checked
    };
    const Case cases[] = {
        {"/", 200, "Zantu网彩票 - 演示首页", 0},
        {"/index.php", 200, "Zantu网彩票 - 演示首页", 0},
        {"/StationIndex.php", 200, "测试投注站", 10},
        {"/User/StationInfo.php", 200, "投注站信息 - Zantu网", 0},
        {"/User/ModifyPassword.php", 200, "修改密码 - Zantu网", 0},
        {"/User/UserModifyBank.php", 200, "修改银行信息 - Zantu网", 0},
        {"/User/UserModifyMobile.php", 200, "修改手机号码 - Zantu网", 0},
        {"/User/UserModifyOther.php", 200, "修改其他资料 - Zantu网", 0},
        {"/User/UserModifyInfo.php", 200, "修改个人资料 - Zantu网", 0},
        {"/User/AccountPopup.php?from=UserModifyBank.php", 200, "账户窗口", 0},
        {"/Plan/printdownload.php?ProjectID=1001", 200, "方案下载", 0},
        {"/Plan/PrintDownload.php?ProjectID=1005", 200, "方案下载", 0},
        {"/Buy06/JoinLotteryProject.php?ProjectID=12345", 200, "合买方案详情", 0},
        {"/index.php/Buy06/JoinLotteryProject.php?ProjectID=7", 200, "合买方案详情", 0},
        {"/User/UserBuyInfo/UserBuyInfo.php", 200, "用户购彩信息", 0},
        {"/Buy06/ssq.php", 200, "双色球投注", 0},
        {"/Ticket/ticket.php?ID=7", 200, "投注小票 7", 0},
        {"/Help/Guide.php", 200, "使用说明", 0},
        {"/Buy06/Unlisted.php", 200, "Zantu网 - /Buy06/Unlisted.php", 0},
        {"/frames.php", 200, "含框架的页面", 0},
        {"/frame-inner.php", 200, "框架内页", 0},
        {"/notitle.php", 200, "(none)", 0},
        {"/longtitle.php?kind=ascii40", 200, "Long ASCII title rstuvwxyzabcdefghijklmn", 40},
        {"/longtitle.php?kind=lead30", 200, nullptr, 41},
        {"/longtitle.php?kind=trail30", 200, nullptr, 40},
        {"/longtitle.php?kind=exact30", 200, nullptr, 30},
        {"/longtitle.php?kind=bytes29", 200, nullptr, 29},
        {"/longtitle.php?kind=one", 200, "X", 1},
        {"/longtitle.php?kind=long", 200, nullptr, 240},
        {"/no/such/page", 404, "页面不存在", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        const auto res = FClient->Get(c.target);
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, c.status);
        EXPECT_EQ(res->get_header_value("Content-Type"), "text/html; charset=gbk");
        EXPECT_NE(res->body.find("<meta charset=\"gbk\">"), std::string::npos);
        std::string utf8;
        EXPECT_TRUE(fromGbk(res->body, utf8)) << "not GBK";
        const std::string title = titleOf(res->body);
        if (c.title) {
            std::string titleUtf8;
            ASSERT_TRUE(fromGbk(title, titleUtf8));
            EXPECT_EQ(titleUtf8, c.title);
        }
        if (c.titleBytes) {
            EXPECT_EQ(title.size(), c.titleBytes);
        }
    }
}

TEST_F(DemoSiteTest, LongTitlesPutTheThirtiethByteWhereTheirNamesSay)
{
    const auto byte30 = [this](const char* kind) {
        const std::string title =
            titleOf(FClient->Get(std::string("/longtitle.php?kind=") + kind)->body);
        // Walk the characters to learn whether byte 30 starts one.
        size_t at = 0;
        while (at < 29)
            at += static_cast<unsigned char>(title[at]) >= 0x81 ? 2 : 1;
        return at == 29 ? "lead" : "trail";
    };
    EXPECT_STREQ(byte30("lead30"), "lead");
    EXPECT_STREQ(byte30("trail30"), "trail");
}

TEST_F(DemoSiteTest, HomePageCarriesTheLinksTheClientActsOn)
{
    const std::string home = FClient->Get("/index.php")->body;
    for (const char* fragment :
         {"href=\"/User/StationInfo.php\"", "href=\"/User/ModifyPassword.php\"",
          "href=\"/User/UserModifyBank.php\"", "href=\"/User/UserModifyMobile.php\"",
          "href=\"/User/UserModifyOther.php\"", "href=\"/User/UserModifyInfo.php\"",
          "href=\"/StationIndex.php\"", "target=\"_blank\"", "onclick=\"window.open(",
          "href=\"/Plan/printdownload.php?ProjectID=1001\"",
          "href=\"  /Plan/printdownload.php?ProjectID=1002  \"",
          "href=\"/Plan/printdownload.php?ProjectID=1004\"><img",
          "href=\"/Plan/PrintDownload.php?ProjectID=1005\"", "<a id=\"no-href\" name=",
          "href=\"/frames.php\"", "href=\"/notitle.php\"", "<input id=\"typing\"",
          "onclick=\"window.close()\"", "href=\"/Ticket/ticket.php?ID=20261210-0001\""})
        EXPECT_NE(home.find(fragment), std::string::npos) << fragment;
    EXPECT_NE(FClient->Get("/Ticket/ticket.php?ID=7")->body.find("onclick=\"window.print()\""),
              std::string::npos);
    EXPECT_NE(FClient->Get("/frames.php")->body.find("<iframe"), std::string::npos);
    EXPECT_NE(FClient->Get("/User/UserModifyBank.php")->body.find("<script>window.open("),
              std::string::npos);
}

TEST_F(DemoSiteTest, SearchPagesShowWhatTheyReceivedEscaped)
{
    // A user search as the client sends it, behind a home page address with a path.
    const auto post =
        FClient->Post("/index.php/User/UserBuyInfo/UserBuyInfo.php",
                      "UserName=%D5%C5%3Cb%3E+x&Submit=", "application/x-www-form-urlencoded");
    ASSERT_TRUE(post);
    EXPECT_EQ(post->status, 200);
    EXPECT_NE(post->body.find("<span id=\"user-name\">\xD5\xC5&lt;b&gt; x</span>"),
              std::string::npos);
    EXPECT_NE(post->body.find("<td>POST</td>"), std::string::npos);
    EXPECT_NE(post->body.find("<td>UserName=%D5%C5%3Cb%3E+x&amp;Submit=</td>"), std::string::npos);
    EXPECT_NE(post->body.find("<td>application/x-www-form-urlencoded</td>"), std::string::npos);
    EXPECT_EQ(post->body.find("REMOTE_ADDR"), std::string::npos);

    const auto plan = FClient->Get("/Buy06/JoinLotteryProject.php?ProjectID=%22%0D%0A42");
    ASSERT_TRUE(plan);
    // Control bytes are shown, markup characters escaped.
    EXPECT_NE(plan->body.find("<span id=\"project-id\">&quot;\r\n42</span>"), std::string::npos);
    EXPECT_NE(plan->body.find("<td>&quot;\\r\\n42</td>"), std::string::npos);
    EXPECT_NE(plan->body.find("<td>GET</td>"), std::string::npos);
}

TEST_F(DemoSiteTest, UpdateFilesComeFromTheFolderWithTheSiteFilledIn)
{
    const auto ini = FClient->Get("/update/AutoUpdate.ini?Ver=123");
    ASSERT_TRUE(ini);
    EXPECT_EQ(ini->status, 200);
    EXPECT_EQ(ini->body, "[Version]\r\nUpdateServer=" + site() + "/update/\r\nHomePage=" + site() +
                             "/index.php\r\n");
    const auto exe = FClient->Get("/update/Update.exe?Ver=1.0");
    ASSERT_TRUE(exe);
    EXPECT_EQ(exe->status, 200);
    EXPECT_EQ(exe->body, "#!/bin/sh\n# {{SITE}}\n"); // a program is served byte for byte
    EXPECT_EQ(exe->get_header_value("Content-Type"), "application/octet-stream");

    for (const char* refused :
         {"/update/zantu.dll", "/update/.hidden", "/update/sub/inner.ini",
          "/update/..%2Foutside.ini", "/update/%2E%2E/outside.ini", "/update/"}) {
        SCOPED_TRACE(refused);
        const auto res = FClient->Get(refused);
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 404);
    }
    fs::remove(FUpdateDir.parent_path() / "outside.ini");
}

TEST_F(DemoSiteTest, EveryRequestIsLoggedAsOneLine)
{
    FClient->Get("/index.php");
    FClient->Get("/update/AutoUpdate.ini?Ver=7");
    FClient->Post("/User/UserBuyInfo/UserBuyInfo.php",
                  "UserName=&Submit=", "application/x-www-form-urlencoded");
    FClient->Get("/no/such/page?a=1");
    EXPECT_EQ(FLog.str(), "GET /index.php\nGET /update/AutoUpdate.ini?Ver=7\n"
                          "POST /User/UserBuyInfo/UserBuyInfo.php\nGET /no/such/page?a=1\n");
}

// The sample program folder the build lays out beside the server.
TEST(DemoProgramFolder, TextFilesAreGbkWithCrLfLineEnds)
{
    const fs::path dir = DEMO_PROGRAM_DIR;
    int count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (!entry.is_regular_file() || entry.path().extension() == ".exe")
            continue;
        SCOPED_TRACE(entry.path().string());
        ++count;
        const std::string bytes = readFile(entry.path());
        std::string utf8;
        EXPECT_TRUE(fromGbk(bytes, utf8));
        for (size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1))
            ASSERT_TRUE(at > 0 && bytes[at - 1] == '\r');
    }
    // Config.ini, AutoUpdate.ini, data/AutoUpdate.ini, zantu.dll, Print.ini and two of each
    // update folder.
    EXPECT_EQ(count, 9);
    EXPECT_TRUE(fs::exists(dir / "update" / "Update.exe"));
    EXPECT_TRUE((fs::status(dir / "update" / "Update.exe").permissions() & fs::perms::owner_exec) !=
                fs::perms::none);
}

TEST(DemoProgramFolder, MenuFileFollowsTheMenuFormat)
{
    std::istringstream lines(readFile(fs::path(DEMO_PROGRAM_DIR) / "zantu.dll"));
    int buttons = 0, items = 0, subItems = 0, ends = 0;
    for (std::string line; std::getline(lines, line);) {
        const auto first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos)
            continue;
        const std::string l = line.substr(first);
        switch (l[0]) {
        case '=':
            ++buttons;
            EXPECT_NE(l.find(':'), std::string::npos) << l;
            break;
        case '@':
        case '>':
            (l[0] == '@' ? items : subItems)++;
            // Separator: the full-width colon; targets are addresses on the demo site.
            ASSERT_NE(l.find("\xA3\xBA"), std::string::npos) << l;
            EXPECT_TRUE(l.find("\xA3\xBA{{SITE}}/") != std::string::npos ||
                        l.find("\xA3\xBA>>") != std::string::npos)
                << l;
            break;
        case '+':
            ++ends;
            break;
        default:
            break;
        }
    }
    EXPECT_EQ(buttons, 4);
    EXPECT_EQ(ends, 4);
    EXPECT_GE(items, 10);
    EXPECT_EQ(subItems, 5);
}

} // namespace

#include "SitePages.h"

#include "GbkPage.h"

#include <cstdio>

namespace demosite::pages {

const char* const AccountPages[6] = {"StationInfo.php",     "ModifyPassword.php",
                                     "UserModifyBank.php",  "UserModifyMobile.php",
                                     "UserModifyOther.php", "UserModifyInfo.php"};

namespace {

const char* const AccountCaptions[6] = {"投注站信息",   "修改密码",     "修改银行信息",
                                        "修改手机号码", "修改其他资料", "修改个人资料"};

struct MenuTitle
{
    const char* path;
    const char* title;
};

// The pages the sample menu file points at.
const MenuTitle MenuTitles[] = {
    {"/Buy06/ssq.php", "双色球投注"},      {"/Buy06/fc3d.php", "福彩3D投注"},
    {"/Buy06/dlt.php", "大乐透投注"},      {"/Buy06/sfc.php", "胜负彩投注"},
    {"/Buy06/rx9.php", "任选九场投注"},    {"/Buy06/ProjectList.php", "合买方案大厅"},
    {"/User/UserIndex.php", "用户中心"},   {"/User/UserAccount.php", "账户明细"},
    {"/User/UserBuyList.php", "购彩记录"}, {"/Help/Guide.php", "使用说明"},
    {"/Help/Notice.php", "网站公告"},
};

const char* const NavBar = "<div class=\"nav\"><a href=\"/index.php\">返回首页</a></div>\n";

// Makes control bytes visible, so a header that ends in LF CR shows as such.
std::string visible(const std::string& bytes)
{
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '\r')
            out += "\\r";
        else if (b == '\n')
            out += "\\n";
        else if (b < 0x20 || b == 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
        } else
            out += c;
    }
    return out;
}

// The server library files the connection's addresses among the headers.
bool isServerNote(const std::string& name)
{
    return name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" ||
           name == "LOCAL_PORT";
}

void row(GbkPage& page, const char* labelUtf8, const std::string& valueBytes)
{
    page.html("<tr><td>")
        .html(labelUtf8)
        .html("</td><td>")
        .escaped(visible(valueBytes))
        .html("</td></tr>\n");
}

// What the request carried: the pages a client posts or searches to show it.
void echo(GbkPage& page, const httplib::Request& req)
{
    const auto q = req.target.find('?');
    page.html("<h2>收到的请求</h2>\n<table class=\"echo\" id=\"echo\">\n");
    row(page, "方法", req.method);
    row(page, "地址", req.target);
    row(page, "路径", req.path);
    row(page, "查询", q == std::string::npos ? std::string() : req.target.substr(q + 1));
    row(page, "Content-Type",
        req.has_header("Content-Type") ? req.get_header_value("Content-Type")
                                       : std::string("(none)"));
    row(page, "请求体长度", std::to_string(req.body.size()));
    row(page, "请求体", req.body);
    page.html("</table>\n<h2>解码后的参数</h2>\n<table class=\"echo\" id=\"params\">\n");
    for (const auto& [name, value] : req.params) {
        page.html("<tr><td>").escaped(visible(name)).html("</td><td>").escaped(visible(value));
        page.html("</td></tr>\n");
    }
    page.html("</table>\n<h2>请求头</h2>\n<table class=\"echo\" id=\"headers\">\n");
    for (const auto& [name, value] : req.headers) {
        if (isServerNote(name))
            continue;
        page.html("<tr><td>").escaped(visible(name)).html("</td><td>").escaped(visible(value));
        page.html("</td></tr>\n");
    }
    page.html("</table>\n");
}

// `count` Chinese characters: two GBK bytes each.
std::string chinese(size_t count)
{
    static const std::string chars =
        "彩票投注站演示页面标题长度测试双色球福彩大乐透胜负任选九开奖公告";
    const size_t n = chars.size() / 3; // three UTF-8 bytes a character
    std::string out;
    for (size_t i = 0; i < count; ++i)
        out += chars.substr((i % n) * 3, 3);
    return out;
}

} // namespace

std::string home()
{
    GbkPage page("Zantu网彩票 - 演示首页");
    page.html(R"HTML(<h1>Zantu网彩票 演示站点</h1>
<p>本站只在 127.0.0.1 上运行，供 Zantu网彩票管家 演示与测试使用。</p>
<div class="columns">

<h2>新窗口</h2>
<ul>
<li><a id="blank-ssq" href="/Buy06/ssq.php" target="_blank">双色球投注（target=_blank，新窗口）</a></li>
<li><a id="blank-fc3d" href="/Buy06/fc3d.php?from=home" target="_blank">福彩3D投注（target=_blank，新窗口）</a></li>
<li><button id="open-dlt" onclick="window.open('/Buy06/dlt.php?from=window.open')">用 window.open 打开大乐透投注</button></li>
<li><a id="blank-account" href="/User/UserModifyBank.php" target="_blank">在新窗口打开“修改银行信息”</a></li>
</ul>

<h2>账户页面（打开后会由脚本打开一个窗口）</h2>
<ul>
)HTML");
    for (int i = 0; i < 6; ++i) {
        page.html("<li><a id=\"account-" + std::to_string(i) + "\" href=\"/User/" +
                  AccountPages[i] + "\">" + AccountCaptions[i] + "（" + AccountPages[i] +
                  "）</a></li>\n");
    }
    page.html(R"HTML(</ul>

<h2>投注站</h2>
<ul>
<li><a id="station" href="/StationIndex.php">投注站首页（StationIndex.php，标题为站名“测试投注站”）</a></li>
</ul>

<h2>小票打印</h2>
<ul>
<li><a id="ticket" href="/Ticket/ticket.php?ID=20261210-0001">投注小票（按“打印小票”按所配的 Print.ini 直接打印）</a></li>
</ul>

<h2>方案下载</h2>
<ul>
<li><a id="plan-1001" href="/Plan/printdownload.php?ProjectID=1001">下载方案 1001</a></li>
<li><a id="plan-1002" href="  /Plan/printdownload.php?ProjectID=1002  ">下载方案 1002（地址前后有空格）</a></li>
<li><a id="plan-1003" href="&#9;/Plan/printdownload.php?ProjectID=1003&#10;">下载方案 1003（地址前有制表符，后有换行）</a></li>
<li><a id="plan-1004" href="/Plan/printdownload.php?ProjectID=1004"><img src="/images/plan.svg" width="60" height="24" alt="下载"></a> （图片链接：点图片不拦截）</li>
<li><a id="plan-1005" href="/Plan/PrintDownload.php?ProjectID=1005">下载方案 1005（大写 PrintDownload.php：不拦截）</a></li>
<li><a id="no-href" name="no-href">没有地址的锚点</a></li>
</ul>

<h2>方案与用户</h2>
<ul>
<li><a id="project" href="/Buy06/JoinLotteryProject.php?ProjectID=12345">合买方案 12345</a></li>
<li><form id="user-form" method="post" action="/User/UserBuyInfo/UserBuyInfo.php" accept-charset="gbk">
用户名 <input name="UserName" value="张三"> <input type="submit" name="Submit" value="查看购彩信息"></form></li>
</ul>

<h2>其他页面</h2>
<ul>
<li><a id="frames" href="/frames.php">含 iframe 的页面</a></li>
<li><a id="notitle" href="/notitle.php">没有标题的页面</a></li>
<li><a id="title-ascii40" href="/longtitle.php?kind=ascii40">长标题：40 个英文字符</a></li>
<li><a id="title-lead30" href="/longtitle.php?kind=lead30">长标题：第 30 字节是汉字的第一个字节</a></li>
<li><a id="title-trail30" href="/longtitle.php?kind=trail30">长标题：第 30 字节是汉字的第二个字节</a></li>
<li><a id="title-exact30" href="/longtitle.php?kind=exact30">标题正好 30 字节</a></li>
<li><a id="title-bytes29" href="/longtitle.php?kind=bytes29">标题 29 字节</a></li>
<li><a id="title-one" href="/longtitle.php?kind=one">标题只有 1 个字节</a></li>
<li><a id="title-long" href="/longtitle.php?kind=long">很长很长的标题（240 字节）</a></li>
</ul>

<h2>输入</h2>
<p><input id="typing" type="text" style="width: 90%" placeholder="在这里输入文字，可试退格键与方向键"></p>
<p><textarea id="typing-area" rows="3" style="width: 90%"></textarea></p>
<p>页面收到的右键事件：<span id="right-clicks">mousedown 0，mouseup 0，contextmenu 0</span></p>
<p><button id="close-window" onclick="window.close()">调用 window.close() 关闭本窗口</button></p>
</div>
<script>
(function () {
  var down = 0, up = 0, menu = 0;
  function show() {
    document.getElementById('right-clicks').textContent =
      'mousedown ' + down + '，mouseup ' + up + '，contextmenu ' + menu;
  }
  document.addEventListener('mousedown', function (e) { if (e.button === 2) { ++down; show(); } });
  document.addEventListener('mouseup', function (e) { if (e.button === 2) { ++up; show(); } });
  document.addEventListener('contextmenu', function () { ++menu; show(); });
})();
</script>
)HTML");
    return page.bytes();
}

std::string stationIndex()
{
    GbkPage page("测试投注站");
    page.html(NavBar).html(R"HTML(<h1>测试投注站</h1>
<p>欢迎光临测试投注站。本页的标题就是投注站的名称，程序读到它以后会记住站名。</p>
<ul>
<li>站点编号：00001</li>
<li>地址：演示市演示路 1 号</li>
<li>电话：000-00000000</li>
</ul>
<p><a href="/Plan/printdownload.php?ProjectID=2001">下载本站方案 2001</a></p>
)HTML");
    return page.bytes();
}

std::string accountPage(const std::string& fileName)
{
    std::string caption = fileName;
    for (int i = 0; i < 6; ++i)
        if (fileName == AccountPages[i])
            caption = AccountCaptions[i];
    GbkPage page(caption + " - Zantu网");
    const std::string popup = "/User/AccountPopup.php?from=" + fileName;
    page.html(NavBar).html("<h1>" + caption + "</h1>\n");
    page.html("<p>这是账户页面 " + fileName +
              "。它一打开就用脚本打开一个窗口，程序应把那个窗口放进置顶的弹出窗口，而不是新的标签页"
              "。</p>\n");
    page.html("<p><button id=\"open-again\" onclick=\"window.open('" + popup +
              "')\">再打开一次窗口</button></p>\n");
    page.html(
        "<p><a href=\"/Buy06/ssq.php\" target=\"_blank\">双色球投注（target=_blank）</a></p>\n");
    page.html("<script>window.open('" + popup + "');</script>\n");
    return page.bytes();
}

std::string accountPopup(const httplib::Request& req)
{
    GbkPage page("账户窗口");
    page.html("<h1>账户窗口</h1>\n<p>由账户页面 ");
    page.escaped(req.get_param_value("from"));
    page.html(" 用脚本打开。</p>\n<p><button onclick=\"window.close()\">关闭</button></p>\n");
    echo(page, req);
    return page.bytes();
}

std::string planDownload(const httplib::Request& req)
{
    GbkPage page("方案下载");
    page.html(NavBar).html("<h1>方案下载</h1>\n<p>方案号：");
    page.escaped(req.get_param_value("ProjectID"));
    page.html("</p>\n");
    echo(page, req);
    return page.bytes();
}

std::string planPage(const httplib::Request& req)
{
    GbkPage page("合买方案详情");
    page.html(NavBar).html("<h1>合买方案详情</h1>\n<p>方案号：<span id=\"project-id\">");
    page.escaped(req.get_param_value("ProjectID"));
    page.html("</span></p>\n");
    echo(page, req);
    return page.bytes();
}

std::string userBuyInfo(const httplib::Request& req)
{
    GbkPage page("用户购彩信息");
    page.html(NavBar).html("<h1>用户购彩信息</h1>\n<p>用户名：<span id=\"user-name\">");
    page.escaped(req.get_param_value("UserName"));
    page.html("</span></p>\n");
    echo(page, req);
    return page.bytes();
}

std::string ticket(const httplib::Request& req)
{
    std::string id = req.get_param_value("ID");
    if (id.empty())
        id = "20261210-0001";
    GbkPage page("投注小票 " + id);
    // 72 mm of print on an 80 mm roll with 4 mm margins; the buttons stay off the paper.
    page.html(R"HTML(<style>
.ticket { width: 72mm; background: #fff; color: #000; font-size: 12px; border: 1px dashed #999; padding: 0; }
.ticket h2 { text-align: center; color: #000; margin: 2mm 0; }
.ticket table { width: 100%; border-collapse: collapse; }
.ticket td { padding: 0.5mm 1mm; }
.ticket .numbers { font-size: 16px; font-weight: bold; text-align: center; letter-spacing: 1mm; }
@media print { html, body { margin: 0; background: #fff; } .nav, .screen-only { display: none; } .ticket { border: none; } }
</style>
)HTML");
    page.html(NavBar).html("<div class=\"ticket\" id=\"ticket\"><h2>Zantu网彩票 投注小票</h2>\n");
    page.html("<table><tr><td>票号</td><td id=\"ticket-id\">").escaped(id);
    page.html(R"HTML(</td></tr>
<tr><td>投注站</td><td>测试投注站</td></tr>
<tr><td>玩法</td><td>双色球 单式</td></tr>
<tr><td>期号</td><td>2026142</td></tr>
</table>
<p class="numbers">03 08 15 21 27 33 + 09</p>
<table><tr><td>倍数</td><td>1 倍</td></tr><tr><td>金额</td><td>2 元</td></tr></table>
<p style="text-align:center">祝您中奖！</p>
</div>
<p class="screen-only"><button id="print-ticket" onclick="window.print()">打印小票</button>
（演示程序文件夹的 Print.ini 让本页不弹对话框，直接在默认打印机上打印；也可按 Ctrl+P）</p>
)HTML");
    return page.bytes();
}

std::string menuTarget(const httplib::Request& req)
{
    std::string title;
    for (const MenuTitle& m : MenuTitles)
        if (req.path == m.path)
            title = m.title;
    GbkPage page(title.empty() ? "Zantu网 - " + req.path : title);
    page.html(NavBar).html("<h1>");
    if (title.empty())
        page.html("Zantu网 - ").escaped(req.path);
    else
        page.html(title);
    page.html("</h1>\n<p>菜单项打开的页面。</p>\n");
    page.html("<p><a href=\"/Buy06/ProjectList.php\" "
              "target=\"_blank\">合买方案大厅（target=_blank）</a>　");
    page.html("<a href=\"/Plan/printdownload.php?ProjectID=3001\">下载方案 3001</a>　");
    page.html("<a href=\"/User/StationInfo.php\">投注站信息（账户页面）</a></p>\n");
    echo(page, req);
    return page.bytes();
}

std::string framesPage()
{
    GbkPage page("含框架的页面");
    page.html(NavBar).html(R"HTML(<h1>含框架的页面</h1>
<p>下面的框架里有链接，也有方案下载链接。</p>
<iframe id="inner" src="/frame-inner.php" width="640" height="220"></iframe>
)HTML");
    return page.bytes();
}

std::string frameInner()
{
    GbkPage page("框架内页");
    page.html(R"HTML(<p>这是框架里的页面。</p>
<ul>
<li><a href="/Buy06/sfc.php">胜负彩投注（在框架里打开）</a></li>
<li><a href="/Buy06/rx9.php" target="_blank">任选九场投注（target=_blank）</a></li>
<li><a href="/Plan/printdownload.php?ProjectID=4001">下载方案 4001（框架内）</a></li>
<li><a href="/User/ModifyPassword.php" target="_top">修改密码（整页打开）</a></li>
</ul>
)HTML");
    return page.bytes();
}

std::string noTitle()
{
    GbkPage page("");
    page.html(NavBar).html("<h1>没有标题的页面</h1>\n<p>本页没有 &lt;title&gt; 元素。</p>\n");
    return page.bytes();
}

std::string longTitle(const std::string& kind)
{
    std::string title;
    if (kind == "ascii40") {
        title = "Long ASCII title ";
        while (title.size() < 40)
            title += static_cast<char>('a' + title.size() % 26);
    } else if (kind == "lead30") {
        title = "A" + chinese(20); // byte 30 starts the 15th character
    } else if (kind == "trail30") {
        title = chinese(20); // byte 30 ends the 15th character
    } else if (kind == "exact30") {
        title = chinese(15);
    } else if (kind == "bytes29") {
        title = "A" + chinese(14);
    } else if (kind == "one") {
        title = "X";
    } else {
        title = chinese(120);
    }
    GbkPage page(title);
    page.html(NavBar).html("<h1>长标题</h1>\n<p>标题：").html(escapeHtml(title)).html("</p>\n");
    return page.bytes();
}

std::string notFound(const httplib::Request& req)
{
    GbkPage page("页面不存在");
    page.html(NavBar).html("<h1>页面不存在</h1>\n<p>").escaped(req.path).html("</p>\n");
    return page.bytes();
}

std::string planImageSvg()
{
    return R"HTML(<svg xmlns="http://www.w3.org/2000/svg" width="60" height="24" viewBox="0 0 60 24">
<rect x="0.5" y="0.5" width="59" height="23" rx="4" fill="#c2d8fe" stroke="#000080"/>
<path d="M30 4 v11 M25 10 l5 5 l5 -5 M22 19 h16" stroke="#c00000" stroke-width="2.5" fill="none"/>
</svg>
)HTML";
}

} // namespace demosite::pages

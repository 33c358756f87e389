#include "browsing/U_WebPopWindows.h"

#include "browsing/NavigationBar.h"
#include "browsing/PopupPlacement.h"
#include "browsing/StationRule.h"
#include "browsing/TabCaption.h"
#include "browsing/TabSheet.h"
#include "browsing/u_child.h"
#include "localfiles/Gbk.h"
#include "shell/U_PrintTicket.h"
#include "site/InputFilter.h"
#include "site/PlanDownload.h"
#include "site/SearchActions.h"
#include "site/SiteValues.h"
#include "webview/WebView.h"

#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

TFrame_WebPopWindows::TFrame_WebPopWindows(Tfrm_printTicket& mainWindow,
                                           webview::WebBrowserFactory& browsers, QWidget* parent)
    : QWidget(parent), FMainWindow(mainWindow)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Panel2 = new NavigationBar(NavigationBar::PageFrame, this);
    layout->addWidget(Panel2);
    pop_WebBrowser = browsers.Create(this);
    pop_WebBrowser->setObjectName(QStringLiteral("pop_WebBrowser"));
    layout->addWidget(pop_WebBrowser, 1);
    if (site::InputFilter* filter = FMainWindow.ApplicationEvents1)
        filter->Register(
            qobject_cast<webview::WebView*>(pop_WebBrowser), site::ViewKind::PageTab,
            {{},
             [this](const QByteArray& link) { return FMainWindow.DownloadPlan(link); },
             [this] { FMainWindow.WMPlanDownloaded(site::PlanDownloadedFromLinkClick); },
             [this] { FMainWindow.ClosePageTab(Tag); }});

    RzToolButton1 = Panel2->btn_refresh;
    btn_goforword = Panel2->btn_goforword;
    btn_goBack = Panel2->btn_goBack;
    edt_ProjectID = Panel2->edt_ProjectID;
    edt_UserName = Panel2->edt_UserName;
    Btn_Search_Man = Panel2->Btn_SearchMan;
    Btn_SearchProject_ID = Panel2->Btn_SearchProject_ID;

    connect(pop_WebBrowser, &webview::WebBrowser::BeforeNavigate2, this,
            &TFrame_WebPopWindows::pop_WebBrowserBeforeNavigate2);
    connect(pop_WebBrowser, &webview::WebBrowser::NewWindow2, this,
            &TFrame_WebPopWindows::pop_WebBrowserNewWindow2);
    connect(pop_WebBrowser, &webview::WebBrowser::DocumentComplete, this,
            &TFrame_WebPopWindows::pop_WebBrowserDocumentComplete);
    connect(pop_WebBrowser, &webview::WebBrowser::CommandStateChange, this,
            &TFrame_WebPopWindows::pop_WebBrowserCommandStateChange);
    connect(btn_goBack, &QToolButton::clicked, this, &TFrame_WebPopWindows::btn_goBackClick);
    connect(btn_goforword, &QToolButton::clicked, this, &TFrame_WebPopWindows::btn_goforwordClick);
    connect(RzToolButton1, &QToolButton::clicked, this, &TFrame_WebPopWindows::RzToolButton1Click);
    connect(Btn_Search_Man, &QToolButton::clicked, this,
            &TFrame_WebPopWindows::Btn_Search_ManClick);
    connect(Btn_SearchProject_ID, &QToolButton::clicked, this,
            &TFrame_WebPopWindows::Btn_SearchProject_IDClick);
}

void TFrame_WebPopWindows::pop_WebBrowserBeforeNavigate2(const QByteArray& url)
{
    FOpenInPopup = site::IsAccountPageUrl(url);
}

void TFrame_WebPopWindows::pop_WebBrowserNewWindow2(webview::NewWindowRequest* request)
{
    try {
        if (FOpenInPopup) {
            // The flag stays: every further window of this page goes there too.
            Tfrm_child* popup = FMainWindow.frm_child;
            if (!popup)
                return;
            browsing::PlacePopupWindow(popup);
            request->browser = popup->pop_WebBrowser->Application();
            return;
        }
        request->browser = FMainWindow.NewWindowBrowser();
    } catch (...) {
    }
}

void TFrame_WebPopWindows::pop_WebBrowserDocumentComplete(const QByteArray& url)
{
    if (Tag > 0 &&
        FMainWindow.PageWebClient->currentWidget() == FMainWindow.FTabSheets.value(Tag) &&
        url == pop_WebBrowser->LocationURL())
        FMainWindow.FocusActivePage();
    QByteArray title;
    try {
        title = pop_WebBrowser->DocumentTitle();
        if (Tag > 0 && FMainWindow.FTabSheets.value(Tag))
            FMainWindow.PageWebClient->setTabText(
                FMainWindow.PageWebClient->indexOf(FMainWindow.FTabSheets[Tag]),
                gbk::toUnicode(browsing::TabCaption(title)));
    } catch (...) {
        return;
    }
    FMainWindow.RunStationRule(url, title, browsing::StationView::PageTab);

    // A closed tab shows its blank page until the slot is taken again; its
    // renderer is not needed meanwhile.
    TRzTabSheet* sheet = FMainWindow.FTabSheets.value(Tag);
    if (url == "about:blank" && sheet &&
        !FMainWindow.PageWebClient->isTabVisible(FMainWindow.PageWebClient->indexOf(sheet)))
        pop_WebBrowser->Discard();
}

void TFrame_WebPopWindows::pop_WebBrowserCommandStateChange(int command, bool enable)
{
    if (command == webview::CommandBack)
        btn_goBack->setEnabled(enable);
    else if (command == webview::CommandForward)
        btn_goforword->setEnabled(enable);
}

void TFrame_WebPopWindows::btn_goBackClick()
{
    pop_WebBrowser->GoBack();
}
void TFrame_WebPopWindows::btn_goforwordClick()
{
    pop_WebBrowser->GoForward();
}

void TFrame_WebPopWindows::RzToolButton1Click()
{
    try {
        pop_WebBrowser->Refresh();
    } catch (...) {
    }
}

void TFrame_WebPopWindows::Btn_Search_ManClick()
{
    site::SearchUser(*pop_WebBrowser, FMainWindow.HomePageUrl, *edt_UserName);
}

void TFrame_WebPopWindows::Btn_SearchProject_IDClick()
{
    site::SearchPlan(*pop_WebBrowser, FMainWindow.HomePageUrl, *edt_ProjectID);
}

#include "browsing/U_WebPopWindows.h"

#include "browsing/NavigationBar.h"
#include "browsing/PageHost.h"
#include "browsing/PopupPlacement.h"
#include "browsing/TabCaption.h"
#include "browsing/u_child.h"
#include "site/InputFilter.h"
#include "site/PlanDownload.h"
#include "site/SearchActions.h"
#include "site/SiteValues.h"
#include "webview/WebBrowser.h"

#include <QToolButton>
#include <QVBoxLayout>

TFrame_WebPopWindows::TFrame_WebPopWindows(browsing::PageHost& host,
                                           webview::WebBrowserFactory& browsers,
                                           site::InputFilter* filter, QWidget* parent)
    : QWidget(parent), FHost(host)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Panel2 = new NavigationBar(NavigationBar::PageFrame, this);
    layout->addWidget(Panel2);
    pop_WebBrowser = browsers.Create(this);
    pop_WebBrowser->setObjectName(QStringLiteral("pop_WebBrowser"));
    layout->addWidget(pop_WebBrowser, 1);
    if (filter)
        filter->Register(pop_WebBrowser, site::ViewKind::PageTab,
                         {{},
                          [this](const QByteArray& link) { return FHost.DownloadPlan(link); },
                          [this] { FHost.WMPlanDownloaded(site::PlanDownloadedFromLinkClick); },
                          [this] { emit CloseRequested(); }});

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

void TFrame_WebPopWindows::DisableGoBack()
{
    btn_goBack->setEnabled(false);
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
            Tfrm_child* popup = FHost.PopupWindow();
            if (!popup)
                return;
            browsing::PlacePopupWindow(popup);
            request->browser = popup->Browser()->Application();
            return;
        }
        request->browser = FHost.NewWindowBrowser();
    } catch (...) {
    }
}

// The tab's owner, told of the same document after this, focuses the page of
// the active tab and lets a closed tab's blank page go.
void TFrame_WebPopWindows::pop_WebBrowserDocumentComplete(const QByteArray& url)
{
    QByteArray title;
    try {
        title = pop_WebBrowser->DocumentTitle();
        if (Tag > 0)
            emit CaptionChanged(browsing::TabCaption(title));
    } catch (...) {
        return;
    }
    FHost.RunStationRule(url, title, browsing::StationView::PageTab);
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
    site::SearchUser(*pop_WebBrowser, FHost.HomePage(), *edt_UserName);
}

void TFrame_WebPopWindows::Btn_SearchProject_IDClick()
{
    site::SearchPlan(*pop_WebBrowser, FHost.HomePage(), *edt_ProjectID);
}

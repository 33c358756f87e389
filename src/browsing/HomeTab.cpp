#include "browsing/HomeTab.h"

#include "browsing/NavigationBar.h"
#include "browsing/PageHost.h"
#include "browsing/PopupPlacement.h"
#include "browsing/u_child.h"
#include "site/InputFilter.h"
#include "site/PlanDownload.h"
#include "site/SearchActions.h"
#include "site/SiteValues.h"
#include "webview/WebBrowser.h"

#include <QToolButton>
#include <QVBoxLayout>

THomeTab::THomeTab(browsing::PageHost& host, webview::WebBrowserFactory& browsers,
                   site::InputFilter* filter, QWidget* parent)
    : QFrame(parent), FHost(host)
{
    setObjectName(QStringLiteral("Panel2"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Panel3 = new NavigationBar(NavigationBar::HomeTab, this);
    layout->addWidget(Panel3);
    Main_WebBrowser = browsers.Create(this);
    Main_WebBrowser->setObjectName(QStringLiteral("Main_WebBrowser"));
    layout->addWidget(Main_WebBrowser, 1);

    if (filter)
        filter->Register(Main_WebBrowser, site::ViewKind::HomeTab,
                         {[this] { FOpenInPopup = true; },
                          [this](const QByteArray& link) { return FHost.DownloadPlan(link); },
                          [this] { FHost.WMPlanDownloaded(site::PlanDownloadedFromLinkClick); },
                          {}});

    connect(Main_WebBrowser, &webview::WebBrowser::BeforeNavigate2, this,
            &THomeTab::Main_WebBrowserBeforeNavigate2);
    connect(Main_WebBrowser, &webview::WebBrowser::NewWindow2, this,
            &THomeTab::Main_WebBrowserNewWindow2);
    connect(Main_WebBrowser, &webview::WebBrowser::DocumentComplete, this,
            &THomeTab::Main_WebBrowserDocumentComplete);
    connect(Main_WebBrowser, &webview::WebBrowser::CommandStateChange, this,
            &THomeTab::Main_WebBrowserCommandStateChange);
    connect(Panel3->btn_goBack, &QToolButton::clicked, this, &THomeTab::btn_goBackClick);
    connect(Panel3->btn_goforword, &QToolButton::clicked, this, &THomeTab::btn_goforwordClick);
    connect(Panel3->btn_refresh, &QToolButton::clicked, this, &THomeTab::RzToolButton10Click);
    connect(Panel3->Btn_SearchMan, &QToolButton::clicked, this, &THomeTab::Btn_SearchManClick);
    connect(Panel3->Btn_SearchProject_ID, &QToolButton::clicked, this,
            &THomeTab::Btn_SearchProject_IDClick);
}

void THomeTab::Main_WebBrowserBeforeNavigate2(const QByteArray& url)
{
    FOpenInPopup = site::IsAccountPageUrl(url);
}

void THomeTab::Main_WebBrowserNewWindow2(webview::NewWindowRequest* request)
{
    try {
        if (FOpenInPopup) {
            FOpenInPopup = false;
            Tfrm_child* popup = FHost.PopupWindow();
            if (!popup)
                return;
            popup->show();
            request->browser = popup->Browser()->Application();
            browsing::PlacePopupWindow(popup);
            // The home tab's pop-up keeps its corner and takes 400 x 400.
            browsing::SetOuterSize(popup, QSize(400, 400));
            popup->Browser()->setVisible(true);
            return;
        }
        request->browser = FHost.NewWindowBrowser();
    } catch (...) {
    }
}

// The tab registry, told of the same document after this, focuses the page
// when the home tab is the active one.
void THomeTab::Main_WebBrowserDocumentComplete(const QByteArray& url)
{
    QByteArray title;
    try {
        title = Main_WebBrowser->DocumentTitle();
    } catch (...) {
        return;
    }
    FHost.RunStationRule(url, title, browsing::StationView::HomeTab);
}

void THomeTab::Main_WebBrowserCommandStateChange(int command, bool enable)
{
    if (command == webview::CommandBack)
        Panel3->btn_goBack->setEnabled(enable);
    else if (command == webview::CommandForward)
        Panel3->btn_goforword->setEnabled(enable);
}

void THomeTab::btn_goBackClick()
{
    Main_WebBrowser->GoBack();
}
void THomeTab::btn_goforwordClick()
{
    Main_WebBrowser->GoForward();
}

// The home bar's refresh button reloads the home page, as every page tab's does.
void THomeTab::RzToolButton10Click()
{
    try {
        Main_WebBrowser->Refresh();
    } catch (...) {
    }
}

void THomeTab::Btn_SearchManClick()
{
    site::SearchUser(*Main_WebBrowser, FHost.HomePage(), *Panel3->edt_UserName);
}

void THomeTab::Btn_SearchProject_IDClick()
{
    site::SearchPlan(*Main_WebBrowser, FHost.HomePage(), *Panel3->edt_ProjectID);
}

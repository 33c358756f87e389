#pragma once

#include "browsing/HomeTab.h"
#include "browsing/PageHost.h"
#include "menu/MenuToolbarBuilder.h"
#include "shell/u_base.h"
#include "update/UpdateOperations.h"

#include <QByteArray>
#include <QList>

#include <functional>

class QAction;
class QFrame;
class QTabWidget;
class QToolBar;
class TFrame_WebPopWindows;
class Tfrm_child;

namespace browsing {
class PageTabs;
class SessionStore;
} // namespace browsing

namespace site {
class InputFilter;
}

namespace update {
class UpdateRunner;
}

namespace webview {
class WebBrowser;
class WebBrowserFactory;
} // namespace webview

// The main window: the menu toolbar, the tabs with the home tab and the page
// tabs, the search bar and the home web view. The tabs' life belongs to the
// tab registry, browsing::PageTabs; the window hosts the pages.
class Tfrm_printTicket : public Tbase_form, public browsing::PageHost
{
    Q_OBJECT
public:
    static constexpr int SlotCount = 100;

    // When the home page starts loading: at the window's show, or as soon as
    // the home tab is made, before the rest of the window, so that the engine
    // fetches the page and starts its renderer while the GUI thread builds the
    // bars and the tabs. The program loads early; a second copy, which only
    // hands over, loads nothing.
    enum class HomeLoad { AtShow, AtConstruction };

    explicit Tfrm_printTicket(webview::WebBrowserFactory& browsers,
                              HomeLoad homeLoad = HomeLoad::AtShow, QWidget* parent = nullptr);
    ~Tfrm_printTicket() override;

    // The pop-up windows, created after the main window.
    void SetPopupWindows(Tfrm_child* child, Tfrm_child* child2)
    {
        frm_child = child;
        frm_child2 = child2;
    }
    // What makes them (and calls SetPopupWindows) when a page needs one
    // before they were made.
    void SetPopupWindowsMaker(std::function<void()> make) { FMakePopupWindows = std::move(make); }

    // The file that keeps the open page tabs for a start after a run that
    // did not end by this window's close.
    void SetSessionStore(browsing::SessionStore* store);
    // Opens the page tabs of such a run again, in order, after the home tab.
    void RestorePageTabs(const QList<QByteArray>& urls);

    // Starts the update check of the first paint; its fetches run off the
    // GUI thread. False when a check is already under way.
    virtual bool CheckUpdate();
    void act_updateExecute();
    // Starts the fetch of a file of the update server; a failure is reported
    // when asked, then `done` runs.
    void DownloadFile(const update::FileFetch& fetch, update::FetchDone done);
    bool DownloadPlan(const QByteArray& LinkAddress) override;
    // Sent after a plan download; accepted and ignored.
    void WMPlanDownloaded(int wParam) override { Q_UNUSED(wParam) }

    // The tab registry; the work is browsing::PageTabs'.
    bool OpenNewTab(const QByteArray& Caption, int& Slot, int& PageIndex);
    void BlankWebView(webview::WebBrowser* view);
    void PageWebClientClose();
    void PageWebClientChange();
    void ClosePageTab(int slot);
    TFrame_WebPopWindows* OpenNewActiveTab();
    webview::WebBrowser* NewWindowBrowser() override;
    const browsing::PageTabs& Tabs() const { return *FTabs; }

    // Keyboard focus to the page of the active tab, unless the operator is
    // typing somewhere else of this window.
    void FocusActivePage();

    void RunStationRule(const QByteArray& url, const QByteArray& title,
                        browsing::StationView view) override;
    Tfrm_child* PopupWindow() override;
    const QByteArray& HomePage() const override { return HomePageUrl; }

    void MenuItemClick(QObject* Sender);

    // Values of the whole process, kept by its one main window.
    const QByteArray& StationName() const { return CurrentStationName; }
    bool IsStationNameSaved() const { return StationNameSaved; }
    // Whether the first paint has been drawn, which starts the update check.
    bool FirstPaintDone() const { return FFirstPaintDone; }
    // The home tab's web view, Main_WebBrowser.
    webview::WebBrowser* HomeBrowser() const { return Panel2->Browser(); }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    update::UpdateOperations UpdateOperations();
    void FormShow();
    void FormPaint();
    void FormCloseQuery();
    void BuildMenuToolbar();
    void ChooseHomePage();
    void LoadHomePage();

    QByteArray CurrentStationName;
    bool StationNameSaved = false;
    QByteArray HomePageUrl;
    bool FHomePageRequested = false;
    QList<QByteArray> MenuLines;
    menu::MenuButtonArray MenuButtons{};
    menu::MenuPopupArray MenuPopups{};

    // Layout.
    QFrame* sCoolBar1 = nullptr;
    QToolBar* sToolBar1 = nullptr;
    QAction* ToolButton1 = nullptr;
    QAction* act_update = nullptr;
    QFrame* pnl_Main = nullptr;
    QTabWidget* PageWebClient = nullptr;
    THomeTab* Panel2 = nullptr;
    // The filter of input to every web view of the program.
    site::InputFilter* ApplicationEvents1 = nullptr;

    Tfrm_child* frm_child = nullptr;
    Tfrm_child* frm_child2 = nullptr;
    std::function<void()> FMakePopupWindows;
    bool FFirstPaintDone = false;
    bool FShowDone = false;

    webview::WebBrowserFactory& FBrowsers;
    browsing::PageTabs* FTabs = nullptr;
    update::UpdateRunner* FUpdateRunner = nullptr;
};

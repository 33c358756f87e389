#pragma once

#include "browsing/StationRule.h"
#include "browsing/TabSlots.h"
#include "menu/MenuToolbarBuilder.h"
#include "shell/u_base.h"
#include "update/UpdateOperations.h"

#include <QByteArray>
#include <QList>
#include <QVector>

class NavigationBar;
class QAction;
class QFrame;
class QMenu;
class QTabWidget;
class QToolBar;
class QToolButton;
class TFrame_WebPopWindows;
class TRzTabSheet;
class Tfrm_child;

namespace browsing {
class SessionStore;
}

namespace site {
class InputFilter;
}

namespace update {
class UpdateRunner;
}

namespace webview {
class WebBrowser;
class WebBrowserFactory;
struct NewWindowRequest;
} // namespace webview

// The main window: the menu toolbar, the tabs with the home tab and the page
// tabs, the search bar and the home web view.
class Tfrm_printTicket : public Tbase_form
{
    Q_OBJECT
public:
    static constexpr int SlotCount = 100;

    explicit Tfrm_printTicket(webview::WebBrowserFactory& browsers, QWidget* parent = nullptr);
    ~Tfrm_printTicket() override;

    // Chooses the home page and starts its load, once: the show does it if
    // the program has not already, so that the engine fetches the page while
    // the rest of the windows are made.
    void OpenHomePage();

    // The pop-up windows, created after the main window.
    void SetPopupWindows(Tfrm_child* child, Tfrm_child* child2);

    // The file that keeps the open page tabs for a start after a run that
    // did not end by this window's close.
    void SetSessionStore(browsing::SessionStore* store);
    // Opens the page tabs of such a run again, in order, after the home tab.
    void RestorePageTabs(const QList<QByteArray>& urls);
    // The addresses of the open page tabs, in their order on the strip.
    QList<QByteArray> SessionTabs() const;

    // Starts the update check of the first paint; its fetches run off the
    // GUI thread. False when a check is already under way.
    virtual bool CheckUpdate();
    void act_updateExecute();
    // Starts the fetch of a file of the update server; a failure is reported
    // when asked, then `done` runs.
    void DownloadFile(const update::FileFetch& fetch, update::FetchDone done);
    // The plan download behind a confirmed plan-download link.
    bool DownloadPlan(const QByteArray& LinkAddress);
    // Sent after a plan download; accepted and ignored.
    void WMPlanDownloaded(int wParam);

    // The tab registry.
    bool OpenNewTab(const QByteArray& Caption, int& Slot, int& PageIndex);
    void BlankWebView(webview::WebBrowser* view);
    void PageWebClientClose();
    void PageWebClientChange();
    // Closes the tab of a page that closed its own window: that tab, not
    // whichever the operator is working in.
    void ClosePageTab(int slot);
    // OpenNewTab with an empty caption, then the new tab made active and its
    // back button disabled: what every opener of a tab does. Null on failure.
    TFrame_WebPopWindows* OpenNewActiveTab();
    // The browser for a page's new window that goes to a tab: a new active
    // tab, or a window of its own when every slot holds an open tab.
    webview::WebBrowser* NewWindowBrowser();

    // Keyboard focus to the page of the active tab, unless the operator is
    // typing somewhere else of this window.
    void FocusActivePage();

    // The station rule for a completed document of the home tab or a page tab.
    void RunStationRule(const QByteArray& url, const QByteArray& title, browsing::StationView view);

    void MenuItemClick(QObject* Sender);

    // Home tab handlers.
    void Main_WebBrowserBeforeNavigate2(const QByteArray& url);
    void Main_WebBrowserNewWindow2(webview::NewWindowRequest* request);
    void Main_WebBrowserDocumentComplete(const QByteArray& url);
    void Main_WebBrowserCommandStateChange(int command, bool enable);
    void btn_goBackClick();
    void btn_goforwordClick();
    void RzToolButton10Click();
    void Btn_SearchManClick();
    void Btn_SearchProject_IDClick();

    // Values of the whole process, kept by its one main window.
    QByteArray CurrentStationName;
    bool StationNameSaved = false;
    QByteArray HomePageUrl;
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
    QToolButton* FCloseButton = nullptr;
    QFrame* Panel2 = nullptr;
    NavigationBar* Panel3 = nullptr;
    webview::WebBrowser* Main_WebBrowser = nullptr;

    // The filter of input to every web view of the program.
    site::InputFilter* ApplicationEvents1 = nullptr;

    Tfrm_child* frm_child = nullptr;
    Tfrm_child* frm_child2 = nullptr;

    QVector<TRzTabSheet*> FTabSheets;
    QVector<TFrame_WebPopWindows*> FPageFrames;
    bool FOpenInPopup = false;
    bool FFirstPaintDone = false;
    bool FShowDone = false;
    bool FHomePageOpened = false;

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
    void SetStationCaptions(const QByteArray& windowCaption, const QByteArray& homeTabCaption);
    void CloseTab(int pageIndex);
    std::vector<browsing::TabSlotState> SlotStates() const;
    void SessionChanged();

    webview::WebBrowserFactory& FBrowsers;
    update::UpdateRunner* FUpdateRunner = nullptr;
    browsing::SessionStore* FSession = nullptr;
};

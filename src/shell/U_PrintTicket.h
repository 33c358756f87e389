#pragma once

#include "shell/u_base.h"

#include <QByteArray>
#include <QList>
#include <QVector>

class QAction;
class QFrame;
class QMenu;
class QTabWidget;
class QToolBar;
class QToolButton;
class NavigationBar;
class TFrame_WebPopWindows;

namespace webview {
class WebBrowser;
class WebBrowserFactory;
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

    // The update check of the first paint.
    virtual bool CheckUpdate();
    // Sent after a plan download; accepted and ignored.
    void WMPlanDownloaded(int wParam);

    // Values of the whole process, kept by its one main window.
    QByteArray CurrentStationName;
    bool StationNameSaved = false;
    QByteArray HomePageUrl;
    QList<QByteArray> MenuLines;
    QVector<QToolButton*> MenuButtons;
    QVector<QMenu*> MenuPopups;

    // Layout.
    QFrame* sCoolBar1 = nullptr;
    QToolBar* sToolBar1 = nullptr;
    QAction* ToolButton1 = nullptr;
    QFrame* pnl_Main = nullptr;
    QTabWidget* PageWebClient = nullptr;
    QFrame* Panel2 = nullptr;
    NavigationBar* Panel3 = nullptr;
    webview::WebBrowser* Main_WebBrowser = nullptr;

    // The tab registry.
    QVector<QWidget*> FTabSheets;
    QVector<TFrame_WebPopWindows*> FPageFrames;
    bool FFirstPaintDone = false;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormPaint();
    void FormCloseQuery();
    void ChooseHomePage();

    webview::WebBrowserFactory& FBrowsers;
};

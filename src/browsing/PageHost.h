#pragma once

#include "browsing/StationRule.h"

#include <QByteArray>

class Tfrm_child;

namespace webview {
class WebBrowser;
}

namespace browsing {

// What a page frame and the home tab ask of the program around them: the
// operations that reach past their own view and bar. The main window
// implements it; a frame never sees the window, nor tabs other than its own.
class PageHost
{
public:
    virtual ~PageHost() = default;

    // The browser for a page's new window that goes to a tab: a new active
    // tab, or a window of its own when no tab can hold it.
    virtual webview::WebBrowser* NewWindowBrowser() = 0;
    // The pop-up window of the account pages' windows, made on first need;
    // none when it cannot be had.
    virtual Tfrm_child* PopupWindow() = 0;
    // The station rule for a completed document.
    virtual void RunStationRule(const QByteArray& url, const QByteArray& title,
                                StationView view) = 0;
    // The plan download behind a confirmed plan-download link, and the
    // message sent after it.
    virtual bool DownloadPlan(const QByteArray& LinkAddress) = 0;
    virtual void WMPlanDownloaded(int wParam) = 0;
    // The home page chosen at show time: the base of the search addresses.
    virtual const QByteArray& HomePage() const = 0;
};

} // namespace browsing

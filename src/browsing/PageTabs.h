#pragma once

#include "browsing/TabSlots.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QVector>

#include <vector>

class QTabWidget;
class QToolButton;
class QWidget;
class TFrame_WebPopWindows;
class TRzTabSheet;

namespace site {
class InputFilter;
}

namespace webview {
class WebBrowser;
class WebBrowserFactory;
} // namespace webview

namespace browsing {

class PageHost;
class SessionStore;

// The tab registry over the main window's tab strip PageWebClient: it owns
// the tabs' life. Slot k is entry k of FTabSheets and FPageFrames, slot 0 the
// home tab. A tab opens in the lowest closed slot with a fresh page frame, and
// closes by blanking its page and hiding its tab, so that the next opening
// takes the slot again. It keeps the strip's one close button, which acts on
// the active tab, and the list of open page tabs for a start after a run that
// did not end by the window's close.
class PageTabs : public QObject
{
    Q_OBJECT
public:
    static constexpr int SlotCount = TabSlotCount;

    // `homeView` is the home tab's browser; the frames are made with `browsers`,
    // ask `host` and register with `filter`.
    PageTabs(QTabWidget* strip, webview::WebBrowser* homeView, PageHost& host,
             webview::WebBrowserFactory& browsers, site::InputFilter* filter);

    // Sizes the registry and makes the home tab in slot 0, holding `content`;
    // before it, no tab opens.
    void MakeHomeTab(const QByteArray& caption, QWidget* content);
    void SetHomeCaption(const QByteArray& caption);

    // OpenNewTab: the tab is made but not made active.
    bool Open(const QByteArray& Caption, int& Slot, int& PageIndex);
    // Open with an empty caption, then the new tab made active and its back
    // button disabled: what every opener of a tab does. Null on failure.
    TFrame_WebPopWindows* OpenActive();
    // OpenActive, and the new tab's page navigated to `url`.
    void OpenActive(const QByteArray& url);
    // The browser for a page's new window that goes to a tab: a new active
    // tab, or a window of its own when every slot holds an open tab.
    webview::WebBrowser* NewWindowBrowser();
    // PageWebClientClose: the active tab closes; the home tab refuses.
    void CloseActive();
    // Closes the tab of a page that closed its own window: that tab, not
    // whichever the operator is working in.
    void Close(int slot);
    static void Blank(webview::WebBrowser* view);

    // The browser of the active tab, the home tab's included.
    webview::WebBrowser* ActiveBrowser() const;
    // Keyboard focus to the page of the active tab, unless the operator is
    // typing somewhere else of the window.
    void FocusActive();
    // The registry by slot: the tab sheets and the page frames, empty
    // entries for empty slots; entry 0 of the frames is always empty.
    const QVector<TRzTabSheet*>& TabSheets() const { return FTabSheets; }
    const QVector<TFrame_WebPopWindows*>& PageFrames() const { return FPageFrames; }

    void SetSessionStore(SessionStore* store);
    // The window closed: a run that ends here leaves nothing to restore.
    void EndSession();
    // Opens the page tabs of such a run again, in order, after the home tab.
    void Restore(const QList<QByteArray>& urls);
    // The addresses of the open page tabs, in their order on the strip.
    QList<QByteArray> SessionTabs() const;

signals:
    // The strip's close button was pressed.
    void CloseButtonClicked();
    // A close of the home tab was asked for and refused.
    void HomeTabCloseRefused();
    // A page completed its main document in the active tab, the home tab's included.
    void ActivePageLoaded();

private:
    void CloseTab(int pageIndex);
    void PageComplete(TRzTabSheet* sheet, TFrame_WebPopWindows* frame, const QByteArray& url);
    std::vector<TabSlotState> SlotStates() const;
    void SessionChanged();

    QTabWidget* FStrip;
    webview::WebBrowser* FHomeView;
    PageHost& FHost;
    webview::WebBrowserFactory& FBrowsers;
    site::InputFilter* FFilter;
    QToolButton* FCloseButton = nullptr;
    SessionStore* FSession = nullptr;
    QVector<TRzTabSheet*> FTabSheets;
    QVector<TFrame_WebPopWindows*> FPageFrames;
};

} // namespace browsing

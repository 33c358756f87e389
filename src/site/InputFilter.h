#pragma once

#include "site/LinkCheck.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

class QEvent;
class QJsonObject;
class QMouseEvent;
class QWebEngineView;
class QWebEnginePage;

namespace webview {
class WebBrowser;
}

namespace site {

enum class ViewKind {
    HomeTab, // the main window's Main_WebBrowser
    PageTab, // a page frame's pop_WebBrowser
    PopUp,   // frm_child / frm_child2: nothing is filtered
};

// What the owner of a view does for the filter. Hooks a kind does not use may
// stay empty.
struct ViewHooks
{
    // Home tab: a press on an account-page link; sets the main window's FOpenInPopup.
    std::function<void()> markOpenInPopup;
    // After Yes on the plan-download box: the main window's DownloadPlan.
    std::function<bool(const QByteArray& linkAddress)> downloadPlan;
    // Only after downloadPlan returned true, before the filter goes on: the
    // main window's WMPlanDownloaded with wParam 2.
    std::function<void()> planDownloaded;
    // Page tab: the page closed its window; close this page's own tab.
    std::function<void()> closeOwnTab;
};

// The one application-wide input filter of the web views. Each window
// registers its view; the filter then keeps the view's page from closing its
// window, drops the right-button events that kind of view must not pass on
// and asks the operator before a plan-download link is followed.
//
// Input lands on the engine's focus-proxy child, which the engine replaces
// after a cross-site navigation or a renderer crash, so every event is
// matched to its view afresh. The element under a press is known from a
// script of the filter's own that reports the element under the pointer on
// every move; a press the last report does not cover is held, with the input
// that follows it, until the page has said what lies at that point.
class InputFilter : public QObject
{
    Q_OBJECT
public:
    // Installs itself on the application.
    explicit InputFilter(QObject* parent = nullptr);
    ~InputFilter() override;

    // Once per view, before its first navigation (the pointer script joins
    // documents created afterwards). The view leaves the filter when it is
    // destroyed. A browser without an engine view is not taken.
    void Register(webview::WebBrowser* view, ViewKind kind, ViewHooks hooks);
    bool IsRegistered(const webview::WebBrowser* view) const;

    // Puts keyboard focus into the page; for a tab that becomes active and
    // after each load, as focus may stay on the tab bar.
    static void GiveFocus(webview::WebBrowser* view);

    // Longest a held press waits for the page before it is let through as a
    // press on no link.
    static constexpr int AskTimeoutMs = 1000;

    struct Stats
    {
        int decidedAtOnce = 0; // left presses decided from the pointer report
        int held = 0;          // left presses held while the page was asked
        int answersLate = 0;   // holds that ran out of time
        qint64 longestHoldMs = 0;
    };
    const Stats& stats() const { return FStats; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry;
    struct HeldEvent;

    Entry* EntryFor(const QObject* target) const;
    Entry* EntryOf(const webview::WebBrowser* view) const;
    bool SwallowedByKind(Entry& entry, QEvent* event);
    bool OnLeftPress(Entry& entry, QObject* target, QMouseEvent* press);
    void StartHold(Entry& entry, QObject* target, QEvent* press);
    void AskPage(Entry& entry, const QPoint& globalPos);
    void Decide(const webview::WebBrowser* key, int serial, const PressedElement& element);
    void ReleaseHold(Entry& entry, bool dropPress, bool releaseLost);
    void OnPointerReport(const webview::WebBrowser* key, const QJsonObject& message);
    void Unregister(const webview::WebBrowser* key);

    std::vector<std::unique_ptr<Entry>> FEntries;
    bool FReplaying = false;
    Stats FStats;
};

} // namespace site

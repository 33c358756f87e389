#pragma once

#include <QObject>
#include <QTimer>
#include <QUrl>

class QWebEngineLoadingInfo;
class QWebEnginePage;

namespace webview {

class DocumentMethod;
class ViewNotice;

// Brings a page back once the line does: a main-frame GET that failed for a
// network reason keeps the engine's error page, with one line of ours over
// it, and is loaded again after 2, 4, 8, 16 and then every 30 s, until it
// loads, the view goes elsewhere, or its window is hidden. A post is never
// sent again. One line in the day log "Session" per series.
class NetworkRetry : public QObject
{
    Q_OBJECT
public:
    // `covered` is the widget showing the page; the line lies on its top edge.
    NetworkRetry(QWebEnginePage* page, QWidget* covered, const DocumentMethod& method);

    // The wait before attempt `attempt` (1 for the first) of a series.
    static int DelayMs(int attempt);
    // A failure of the network (the site could not be reached), not the
    // site's own answer: Chromium's net error code.
    static bool IsNetworkFailure(int errorCode);

    bool Retrying() const { return !FUrl.isEmpty(); }
    ViewNotice* notice() const { return FNotice; }

private:
    void OnLoadingChanged(const QWebEngineLoadingInfo& info);
    void Retry();
    void Stop();

    QWebEnginePage* FPage;
    QWidget* FCovered;
    const DocumentMethod& FMethod;
    ViewNotice* FNotice;
    QTimer FTimer;
    QUrl FUrl; // the address of the series under way
    int FAttempt = 0;
};

} // namespace webview

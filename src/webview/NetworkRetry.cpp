#include "webview/NetworkRetry.h"

#include "localfiles/SessionLog.h"
#include "webview/DocumentMethod.h"
#include "webview/ViewNotice.h"

#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>

namespace webview {

NetworkRetry::NetworkRetry(QWebEnginePage* page, QWidget* covered, const DocumentMethod& method)
    : QObject(page), FPage(page), FCovered(covered), FMethod(method),
      FNotice(new ViewNotice(covered, QStringLiteral("NetworkRetryNotice"),
                             QStringLiteral(u"网络连接中断，正在自动重试…"), {},
                             ViewNotice::TopLine))
{
    FTimer.setSingleShot(true);
    connect(&FTimer, &QTimer::timeout, this, &NetworkRetry::Retry);
    connect(page, &QWebEnginePage::loadingChanged, this, &NetworkRetry::OnLoadingChanged);
}

int NetworkRetry::DelayMs(int attempt)
{
    if (attempt < 1)
        attempt = 1;
    return attempt <= 4 ? 1000 << attempt : 30000;
}

bool NetworkRetry::IsNetworkFailure(int errorCode)
{
    switch (errorCode) {
    case -7:   // TIMED_OUT
    case -21:  // NETWORK_CHANGED
    case -100: // CONNECTION_CLOSED
    case -101: // CONNECTION_RESET
    case -102: // CONNECTION_REFUSED
    case -103: // CONNECTION_ABORTED
    case -104: // CONNECTION_FAILED
    case -105: // NAME_NOT_RESOLVED
    case -106: // INTERNET_DISCONNECTED
    case -109: // ADDRESS_UNREACHABLE
    case -118: // CONNECTION_TIMED_OUT
    case -137: // NAME_RESOLUTION_FAILED
    case -324: // EMPTY_RESPONSE: the server went away before it answered
        return true;
    default:
        return false;
    }
}

void NetworkRetry::OnLoadingChanged(const QWebEngineLoadingInfo& info)
{
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
        // The operator (or the page) went elsewhere: the series is over.
        if (Retrying() && info.url() != FUrl)
            Stop();
        return;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
        Stop();
        return;
    case QWebEngineLoadingInfo::LoadStoppedStatus:
        return;
    case QWebEngineLoadingInfo::LoadFailedStatus:
        break;
    }
    const bool network = info.errorDomain() != QWebEngineLoadingInfo::HttpStatusCodeDomain &&
                         IsNetworkFailure(info.errorCode());
    if (!network || !FMethod.LastRequestWasGet(info.url())) {
        Stop();
        return;
    }
    if (!FCovered->window()->isVisible()) {
        Stop();
        return;
    }
    if (!Retrying() || info.url() != FUrl) {
        FUrl = info.url();
        FAttempt = 0;
        localfiles::WriteSessionLog(QStringLiteral(u"网络连接中断，自动重试：") + FUrl.toString() +
                                    QStringLiteral(u"（") + info.errorString() +
                                    QStringLiteral(u"）"));
    }
    ++FAttempt;
    FNotice->ShowOver();
    FTimer.start(DelayMs(FAttempt));
}

void NetworkRetry::Retry()
{
    // A closed tab or a hidden pop-up window is nobody's to bring back.
    if (!FCovered->window()->isVisible() || FPage->url() != FUrl) {
        Stop();
        return;
    }
    // A plain load is a GET whatever the page was: it can never post again.
    FPage->load(FUrl);
}

void NetworkRetry::Stop()
{
    FTimer.stop();
    FUrl.clear();
    FAttempt = 0;
    FNotice->hide();
}

} // namespace webview

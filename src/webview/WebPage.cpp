#include "webview/WebPage.h"

#include <QJsonDocument>

namespace webview {

WebPage::WebPage(QWebEngineProfile* profile, const QByteArray& token, QObject* parent)
    : QWebEnginePage(profile, parent), FToken(token)
{}

bool WebPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    Q_UNUSED(isMainFrame)
    // A server redirect is the same navigation going on, not a new one.
    if (type != NavigationTypeRedirect)
        emit NavigationRequested(url);
    return true;
}

QWebEnginePage* WebPage::createWindow(WebWindowType type)
{
    Q_UNUSED(type)
    return NewWindowHandler ? NewWindowHandler() : nullptr;
}

void WebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                       int lineNumber, const QString& sourceID)
{
    Q_UNUSED(level)
    Q_UNUSED(lineNumber)
    Q_UNUSED(sourceID)
    const QString token = QString::fromLatin1(FToken);
    if (!message.startsWith(token))
        return;
    const QJsonDocument doc = QJsonDocument::fromJson(message.mid(token.size()).toUtf8());
    if (doc.isObject())
        emit HostMessage(doc.object());
}

} // namespace webview

#pragma once

#include <QJsonObject>
#include <QWebEnginePage>

#include <functional>

namespace webview {

// A thin page: it reports navigations, new-window requests and the messages
// that the program's own scripts write to the console, and refuses nothing.
class WebPage : public QWebEnginePage
{
    Q_OBJECT
public:
    WebPage(QWebEngineProfile* profile, const QByteArray& token, QObject* parent);

    // Answers createWindow: the page in which the new window loads, or none.
    std::function<QWebEnginePage*()> NewWindowHandler;

signals:
    void NavigationRequested(const QUrl& url);
    // A console line of the program's own scripts, recognised by the token.
    void HostMessage(const QJsonObject& message);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int lineNumber, const QString& sourceID) override;

private:
    QByteArray FToken;
};

} // namespace webview

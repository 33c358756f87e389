#pragma once

#include <QJsonObject>
#include <QWebEnginePage>

#include <functional>

class QWebEngineCertificateError;

namespace webview {

// A thin page: it reports navigations, new-window requests and the messages
// that the program's own scripts write to the console. Its boxes (alert,
// confirm, prompt, a site's login) belong to the window of the widget that
// owns it; it refuses every certificate error and every permission a page
// asks for (location, notifications, camera, microphone) without asking.
class WebPage : public QWebEnginePage
{
    Q_OBJECT
public:
    // `owner` is the widget whose window the page's boxes belong to.
    WebPage(QWebEngineProfile* profile, const QByteArray& token, QWidget* owner);

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
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                          const QString& defaultValue, QString* result) override;

private:
    QWidget* DialogWindow() const;
    void OnCertificateError(const QWebEngineCertificateError& error);

    QByteArray FToken;
    QWidget* FOwner;
    bool FCertificateBoxPending = false;
};

} // namespace webview

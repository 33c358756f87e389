#include "webview/WebPage.h"

#include "webview/PageDialogs.h"

#include <QAuthenticator>
#include <QJsonDocument>
#include <QTimer>
#include <QWebEngineCertificateError>
#include <QWidget>

namespace webview {

WebPage::WebPage(QWebEngineProfile* profile, const QByteArray& token, QWidget* owner)
    : QWebEnginePage(profile, owner), FToken(token), FOwner(owner)
{
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl& origin, Feature feature) {
                setFeaturePermission(origin, feature, PermissionDeniedByUser);
            });
    connect(this, &QWebEnginePage::authenticationRequired, this,
            [this](const QUrl& url, QAuthenticator* authenticator) {
                // A null authenticator cancels the request.
                if (!PageDialogs::Credentials(DialogWindow(), url, authenticator))
                    *authenticator = QAuthenticator();
            });
    connect(this, &QWebEnginePage::certificateError, this, &WebPage::OnCertificateError);
}

QWidget* WebPage::DialogWindow() const
{
    return FOwner->window();
}

void WebPage::OnCertificateError(const QWebEngineCertificateError& error)
{
    QWebEngineCertificateError refused = error;
    refused.rejectCertificate();
    // Told once the engine has its answer; one box at a time for a page
    // whose parts keep failing.
    if (FCertificateBoxPending)
        return;
    FCertificateBoxPending = true;
    const QUrl url = error.url();
    QTimer::singleShot(0, this, [this, url] {
        PageDialogs::CertificateRefused(DialogWindow(), url);
        FCertificateBoxPending = false;
    });
}

void WebPage::javaScriptAlert(const QUrl& securityOrigin, const QString& msg)
{
    Q_UNUSED(securityOrigin)
    PageDialogs::Alert(DialogWindow(), msg);
}

bool WebPage::javaScriptConfirm(const QUrl& securityOrigin, const QString& msg)
{
    Q_UNUSED(securityOrigin)
    return PageDialogs::Confirm(DialogWindow(), msg);
}

bool WebPage::javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                               const QString& defaultValue, QString* result)
{
    Q_UNUSED(securityOrigin)
    QString value = defaultValue;
    if (!PageDialogs::Prompt(DialogWindow(), msg, &value))
        return false;
    *result = value;
    return true;
}

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

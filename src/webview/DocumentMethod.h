#pragma once

#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>

class QWebEngineLoadingInfo;
class QWebEnginePage;

namespace webview {

// Whether a page's main-frame document came by GET, the one kind of load the
// program may repeat by itself. It watches the page's main-frame requests
// (forms, the program's own posts, redirects, history steps and reloads all
// pass here with their method); a document whose request it did not see
// counts as posted, the safe side: a bet must never be placed twice.
class DocumentMethod : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT
public:
    explicit DocumentMethod(QWebEnginePage* page);

    // The latest main-frame request was a GET of `url`.
    bool LastRequestWasGet(const QUrl& url) const;
    // The document shown now came by GET (or is the error page of a GET).
    bool DocumentIsGet() const { return FDocumentIsGet; }
    // The address of the last document shown that came by GET, or of the
    // GET under way when none has been shown yet; empty when there is none.
    QUrl LastGetUrl() const;

    // A load the program itself starts, known before the engine asks.
    void GetRequested(const QUrl& url);
    void PostRequested(const QUrl& url);
    // The page is being handed to a new window: the engine gives it a new
    // inside, which knows nothing of this watcher until it is set again.
    void ExpectNewWindow() { FNewWindow = true; }
    // A navigation of the page is about to start (acceptNavigationRequest).
    void NavigationRequested();

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    void OnLoadingChanged(const QWebEngineLoadingInfo& info);

    QWebEnginePage* FPage;
    bool FNewWindow = false;
    QUrl FRequestUrl;
    bool FRequestIsGet = false;
    bool FDocumentIsGet = false;
    QUrl FDocumentGetUrl;
};

} // namespace webview

#include "webview/DocumentMethod.h"

#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>

#include <utility>

namespace webview {
namespace {

bool isBlank(const QUrl& url)
{
    return url.isEmpty() || url.scheme() == QStringLiteral("about");
}

} // namespace

DocumentMethod::DocumentMethod(QWebEnginePage* page)
    : QWebEngineUrlRequestInterceptor(page), FPage(page)
{
    page->setUrlRequestInterceptor(this);
    connect(page, &QWebEnginePage::loadingChanged, this, &DocumentMethod::OnLoadingChanged);
}

bool DocumentMethod::LastRequestWasGet(const QUrl& url) const
{
    return FRequestIsGet && FRequestUrl == url;
}

QUrl DocumentMethod::LastGetUrl() const
{
    if (!FDocumentGetUrl.isEmpty())
        return FDocumentGetUrl;
    return FRequestIsGet && !isBlank(FRequestUrl) ? FRequestUrl : QUrl();
}

void DocumentMethod::GetRequested(const QUrl& url)
{
    FRequestUrl = url;
    FRequestIsGet = true;
}

void DocumentMethod::PostRequested(const QUrl& url)
{
    FRequestUrl = url;
    FRequestIsGet = false;
}

void DocumentMethod::NavigationRequested()
{
    // Set again once, not at every navigation: each setting adds a
    // connection inside the engine's adapter.
    if (std::exchange(FNewWindow, false))
        FPage->setUrlRequestInterceptor(this);
}

void DocumentMethod::interceptRequest(QWebEngineUrlRequestInfo& info)
{
    // Called on the GUI thread (Qt 6); a redirect comes here again.
    if (info.resourceType() != QWebEngineUrlRequestInfo::ResourceTypeMainFrame)
        return;
    FRequestUrl = info.requestUrl();
    FRequestIsGet = info.requestMethod() == "GET";
}

void DocumentMethod::OnLoadingChanged(const QWebEngineLoadingInfo& info)
{
    // A load that ends without a document of its own (a download, a stop)
    // leaves the one shown before.
    const bool shown =
        info.status() == QWebEngineLoadingInfo::LoadSucceededStatus ||
        (info.status() == QWebEngineLoadingInfo::LoadFailedStatus && info.isErrorPage());
    if (!shown)
        return;
    // A blank page holds nothing to repeat, and nothing worth keeping.
    if (isBlank(info.url())) {
        FDocumentIsGet = true;
        FDocumentGetUrl.clear();
        return;
    }
    // A posted page keeps the address of the page it was posted from.
    FDocumentIsGet = LastRequestWasGet(info.url());
    if (FDocumentIsGet)
        FDocumentGetUrl = info.url();
}

} // namespace webview

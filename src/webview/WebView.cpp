#include "webview/WebView.h"

#include "localfiles/Gbk.h"
#include "webview/CrashNotice.h"
#include "webview/DocumentMethod.h"
#include "webview/FindBar.h"
#include "webview/FreedMemory.h"
#include "webview/HangWatch.h"
#include "webview/HeaderText.h"
#include "webview/NetworkRetry.h"
#include "webview/ViewShortcuts.h"
#include "webview/WebPage.h"

#include <QAction>
#include <QEventLoop>
#include <QPointer>
#include <QRandomGenerator>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineHttpRequest>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

#include <utility>

namespace webview {
namespace {

QByteArray randomToken()
{
    QByteArray token = "zantu-";
    for (int i = 0; i < 4; ++i)
        token += QByteArray::number(QRandomGenerator::system()->generate(), 16);
    return token + ":";
}

// Reports the document once its load event has run. The flag lives in the
// isolated world, where the page cannot see or set it; the host's fallback
// after loadFinished checks the same flag, so each document reports once.
const char* const DocumentScript = R"JS(
(function () {
    function report() {
        if (window.__zantuReported) return;
        window.__zantuReported = true;
        var topTitle = null;
        try { topTitle = window.top.document.title; } catch (e) {}
        console.debug('%TOKEN%' + JSON.stringify({kind: 'document', url: location.href,
            title: document.title, main: window === window.top, topTitle: topTitle}));
    }
    if (document.readyState === 'complete') report();
    else window.addEventListener('load', report);
})();
)JS";

// A later navigation may already have replaced the document that finished:
// a document still loading reports itself when its load event comes.
const char* const FallbackScript = R"JS(
(function () {
    if (window.__zantuReported || document.readyState !== 'complete') return null;
    window.__zantuReported = true;
    return {url: location.href, title: document.title};
})();
)JS";

const char* const ClearBodyScript = R"JS(
(function () {
    var body = document.body;
    if (!body || body.tagName !== 'BODY') return false;
    body.innerText = '';
    return true;
})();
)JS";

constexpr int ClearBodyTimeoutMs = 3000;

} // namespace

WebView::WebView(QWebEngineProfile* profile, QWidget* parent)
    : WebBrowser(parent), FToken(randomToken()), FView(new QWebEngineView(this)),
      FPage(new WebPage(profile, FToken, this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    FFindBar = new FindBar(FPage, this);
    layout->addWidget(FFindBar);
    layout->addWidget(FView, 1);
    FView->setPage(FPage);
    FView->setContextMenuPolicy(Qt::NoContextMenu);
    FCrashNotice = new CrashNotice(FView);
    connect(FCrashNotice, &CrashNotice::ReloadRequested, this, &WebView::Refresh);
    FMethod = new DocumentMethod(FPage);
    new NetworkRetry(FPage, FView, *FMethod);
    connect(new HangWatch(FPage, FView), &HangWatch::EndRequested, this, &WebView::EndHungRenderer);
    connect(FFindBar, &FindBar::Closed, this, [this] { FView->setFocus(Qt::OtherFocusReason); });
    new ViewShortcuts(
        this, {[this] { Print(); }, [this] { OpenFind(); }, [this](int step) { Zoom(step); }});

    AddHostScript(QStringLiteral("zantu-document"), QString::fromLatin1(DocumentScript), true);

    connect(FPage, &WebPage::NavigationRequested, this, [this](const QUrl& url) {
        FMethod->NavigationRequested();
        emit BeforeNavigate2(gbk::fromUnicode(url.toString()));
    });
    connect(FPage, &WebPage::HostMessage, this, &WebView::OnHostMessage);
    connect(FPage, &QWebEnginePage::loadStarted, this, [this] {
        FBusy = true;
        FRendererGone = false;
    });
    connect(FPage, &QWebEnginePage::loadFinished, this, [this] {
        FBusy = false;
        // A load cut short by the renderer's end still finishes, after it.
        if (FRendererGone)
            return;
        FCrashNotice->hide();
        OnLoadFinished();
    });
    connect(FPage, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                OnRenderProcessTerminated(status);
            });
    FPage->NewWindowHandler = [this]() -> QWebEnginePage* {
        NewWindowRequest request;
        emit NewWindow2(&request);
        auto* target = qobject_cast<WebView*>(request.browser);
        // The opener's own page would throw away the document that asked.
        if (!target || target == this)
            return nullptr;
        target->FMethod->ExpectNewWindow();
        return target->page();
    };

    FPagePrinter = new PagePrinter(FView, this);
    connect(FView, &QWebEngineView::printRequested, this, &WebView::Print);
    connect(FPagePrinter, &PagePrinter::Finished, this, &WebView::PrintFinished);

    QAction* back = FPage->action(QWebEnginePage::Back);
    QAction* forward = FPage->action(QWebEnginePage::Forward);
    connect(back, &QAction::enabledChanged, this,
            [this](bool enabled) { emit CommandStateChange(CommandBack, enabled); });
    connect(forward, &QAction::enabledChanged, this,
            [this](bool enabled) { emit CommandStateChange(CommandForward, enabled); });
}

WebView::~WebView()
{
    // The page goes before the view that shows it.
    FView->setPage(nullptr);
    delete FPage;
}

QUrl WebView::UrlFromText(const QByteArray& text)
{
    const QByteArray t = gbk::trimmed(text);
    QByteArray encoded;
    for (const char c : t) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 || b <= 0x20)
            encoded += '%' + QByteArray::number(b, 16).toUpper().rightJustified(2, '0');
        else
            encoded += c;
    }
    QUrl url = QUrl::fromEncoded(encoded, QUrl::TolerantMode);
    // A bare host name ("www.example.com/page") is taken as an http address.
    if (url.scheme().isEmpty() && !encoded.isEmpty())
        url = QUrl::fromEncoded("http://" + encoded, QUrl::TolerantMode);
    return url;
}

void WebView::Navigate(const QByteArray& url)
{
    const QUrl target = UrlFromText(url);
    FMethod->GetRequested(target);
    FView->load(target.isEmpty() ? QUrl(QStringLiteral("about:blank")) : target);
}

void WebView::NavigatePost(const QByteArray& url, const QByteArray& postData,
                           const QByteArray& headers)
{
    QWebEngineHttpRequest request(UrlFromText(url), QWebEngineHttpRequest::Post);
    FMethod->PostRequested(request.url());
    request.setPostData(postData);
    for (const auto& header : ParseHeaderText(headers))
        request.setHeader(header.first, header.second);
    FView->load(request);
}

void WebView::NavigateBlank()
{
    FView->load(QUrl(QStringLiteral("about:blank")));
}

void WebView::LoadHtml(const QByteArray& html)
{
    // Held in memory only; the page has the address about:blank.
    FView->setHtml(gbk::toUnicode(html), QUrl(QStringLiteral("about:blank")));
}

// One step through the history's items: the engine's own back and forward
// skip a page that moved on by script without a user gesture, and would do
// nothing at all when that page is the first.
void WebView::GoBack()
{
    QWebEngineHistory* history = FPage->history();
    if (history->canGoBack())
        history->goToItem(history->backItem());
}
void WebView::GoForward()
{
    QWebEngineHistory* history = FPage->history();
    if (history->canGoForward())
        history->goToItem(history->forwardItem());
}
void WebView::Refresh()
{
    FView->reload();
}

QByteArray WebView::LocationURL() const
{
    return gbk::fromUnicode(FPage->url().toString());
}
QByteArray WebView::DocumentTitle() const
{
    return FTitle;
}
bool WebView::HasDocument() const
{
    return !FPage->url().isEmpty();
}
bool WebView::Busy() const
{
    return FBusy;
}
QByteArray WebView::SessionURL() const
{
    return FMethod->LastGetUrl().toEncoded();
}

void WebView::Discard()
{
    // The engine keeps a renderer for every page, blank or not, until told.
    // Not from inside one of the page's own callbacks: back in the event loop.
    QTimer::singleShot(0, this, [this] {
        if (!FPage->isVisible() &&
            FPage->lifecycleState() != QWebEnginePage::LifecycleState::Discarded) {
            FPage->setLifecycleState(QWebEnginePage::LifecycleState::Discarded);
            ReleaseFreedMemorySoon();
        }
    });
}

bool WebView::ClearBodyText()
{
    // On a page that never loaded, or whose renderer ended, a script would
    // first make it about:blank.
    if (!HasDocument() || FRendererGone)
        return false;
    QEventLoop loop;
    bool cleared = false;
    QPointer<QEventLoop> guard(&loop);
    FPage->runJavaScript(QString::fromLatin1(ClearBodyScript), QWebEngineScript::ApplicationWorld,
                         [&cleared, guard](const QVariant& result) {
                             if (!guard)
                                 return; // the wait ended before the page answered
                             cleared = result.toBool();
                             guard->quit();
                         });
    QTimer::singleShot(ClearBodyTimeoutMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return cleared;
}

void WebView::AddHostScript(const QString& name, const QString& source, bool allFrames)
{
    QWebEngineScript script;
    script.setName(name);
    script.setSourceCode(
        QString(source).replace(QStringLiteral("%TOKEN%"), QString::fromLatin1(FToken)));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setRunsOnSubFrames(allFrames);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    FPage->scripts().insert(script);
}

void WebView::OnHostMessage(const QJsonObject& message)
{
    if (message.value(QStringLiteral("kind")).toString() != QStringLiteral("document")) {
        emit HostMessage(message);
        return;
    }
    // A frame completes inside the page's new document: its title is the
    // page's title from then on, where the frame may read it.
    const QJsonValue topTitle = message.value(QStringLiteral("topTitle"));
    if (topTitle.isString())
        FTitle = gbk::fromUnicode(topTitle.toString());
    ReportDocument(message.value(QStringLiteral("url")).toString(),
                   message.value(QStringLiteral("title")).toString(),
                   message.value(QStringLiteral("main")).toBool());
}

void WebView::Print()
{
    FPagePrinter->Request();
}

void WebView::Zoom(int step)
{
    FPage->setZoomFactor(ViewShortcuts::ZoomStep(FPage->zoomFactor(), step));
}

void WebView::OpenFind()
{
    FFindBar->Open();
}

void WebView::OnRenderProcessTerminated(int status)
{
    const bool byOperator = std::exchange(FEndedByOperator, false);
    // A discarded page ends its renderer on purpose.
    if (status == QWebEnginePage::NormalTerminationStatus ||
        FPage->lifecycleState() == QWebEnginePage::LifecycleState::Discarded)
        return;
    FBusy = false;
    FRendererGone = true;
    const QUrl url = FPage->url();
    if (FRecovery.RendererEnded(url, FMethod->DocumentIsGet(), byOperator) ==
        CrashRecovery::Answer::Notice) {
        FCrashNotice->ShowOver();
        return;
    }
    // Back in the event loop, once the engine is done with the old renderer;
    // a plain load is a GET.
    QTimer::singleShot(0, this, [this, url] { FView->load(url); });
}

void WebView::EndHungRenderer()
{
    FEndedByOperator = HangWatch::EndRenderer(FPage);
}

void WebView::OnLoadFinished()
{
    // Documents that run no script of ours (an error page, some non-HTML
    // documents) still complete: ask the page whether this one reported.
    QPointer<WebView> self(this);
    FPage->runJavaScript(QString::fromLatin1(FallbackScript), QWebEngineScript::ApplicationWorld,
                         [self](const QVariant& result) {
                             if (!self || !result.isValid() || result.isNull())
                                 return;
                             const QVariantMap m = result.toMap();
                             if (m.isEmpty())
                                 return;
                             self->ReportDocument(m.value(QStringLiteral("url")).toString(),
                                                  m.value(QStringLiteral("title")).toString(),
                                                  true);
                         });
}

void WebView::ReportDocument(const QString& url, const QString& title, bool mainFrame)
{
    if (mainFrame) {
        FTitle = gbk::fromUnicode(title);
        FBusy = false; // the page has loaded, though the engine may not have said so yet
    }
    emit DocumentComplete(gbk::fromUnicode(url));
}

} // namespace webview

#pragma once

#include "webview/CrashRecovery.h"
#include "webview/PagePrinter.h"
#include "webview/WebBrowser.h"
#include "webview/WebPage.h"

#include <QJsonObject>

#include <functional>
#include <memory>

class QWebEngineProfile;
class QWebEngineView;

namespace webview {

class CrashNotice;
class DocumentMethod;
class FindBar;
class HangWatch;

// The embedded browser over Qt WebEngine. One view and one page for its life;
// a script of the program's own, in its own isolated world and in every
// frame, reports each document that completes. It prints (window.print(),
// Ctrl+P), finds (Ctrl+F) and zooms (Ctrl+wheel, Ctrl+plus/minus/0). It heals
// itself where that can never post a form again: a page that came by GET
// loads again after a network failure (NetworkRetry) or when its renderer
// ends (CrashRecovery; otherwise a notice stays until a page loads), and a
// hung page is noticed (HangWatch).
class WebView : public WebBrowser
{
    Q_OBJECT
public:
    WebView(QWebEngineProfile* profile, QWidget* parent);
    ~WebView() override;

    void Navigate(const QByteArray& url) override;
    void NavigatePost(const QByteArray& url, const QByteArray& postData,
                      const QByteArray& headers) override;
    void NavigateBlank() override;
    void LoadHtml(const QByteArray& html) override;
    void GoBack() override;
    void GoForward() override;
    void Refresh() override;

    QByteArray LocationURL() const override;
    QByteArray DocumentTitle() const override;
    bool HasDocument() const override;
    bool ClearBodyText() override;
    bool Busy() const override;
    void Discard() override;
    QByteArray SessionURL() const override;

    QWebEngineView* engineView() const override { return FView; }
    WebPage* page() const override { return FPage; }
    // Marks console lines of the program's own scripts; unknown to the page.
    const QByteArray& token() const { return FToken; }
    void AddHostScript(const QString& name, const QString& source, bool allFrames) override;

    // Text as it must go to the engine: GBK bytes outside ASCII percent-encoded.
    static QUrl UrlFromText(const QByteArray& text);

    // The seam of the print dialog, see PagePrinter.
    using PrintDialog = PagePrinter::PrintDialog;
    static void SetPrintDialog(PrintDialog dialog)
    {
        PagePrinter::SetPrintDialog(std::move(dialog));
    }
    // Prints the page after its print profile, or asks for the printer; a
    // print asked for while one runs follows it.
    void Print();
    void Zoom(int step);
    void OpenFind();

    FindBar* findBar() const { return FFindBar; }
    CrashNotice* crashNotice() const { return FCrashNotice; }

signals:
    void PrintFinished(bool ok);

private:
    void OnHostMessage(const QJsonObject& message);
    void OnLoadFinished();
    void OnRenderProcessTerminated(int status);
    void EndHungRenderer();
    void ReportDocument(const QString& url, const QString& title, bool mainFrame);

    QByteArray FToken;
    QWebEngineView* FView = nullptr;
    WebPage* FPage = nullptr;
    FindBar* FFindBar = nullptr;
    CrashNotice* FCrashNotice = nullptr;
    DocumentMethod* FMethod = nullptr;
    CrashRecovery FRecovery;
    bool FEndedByOperator = false;
    bool FBusy = false;
    bool FRendererGone = false; // until the next load starts
    QByteArray FTitle;
    PagePrinter* FPagePrinter = nullptr;
};

class WebViewFactory : public WebBrowserFactory
{
public:
    explicit WebViewFactory(QWebEngineProfile* profile) : FProfile(profile) {}
    WebBrowser* Create(QWidget* parent) override { return new WebView(FProfile, parent); }

private:
    QWebEngineProfile* FProfile;
};

} // namespace webview

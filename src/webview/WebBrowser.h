#pragma once

#include <QByteArray>
#include <QWidget>

class QJsonObject;
class QWebEnginePage;
class QWebEngineView;

namespace webview {

class WebBrowser;

// Commands of CommandStateChange: whether that history step is possible.
enum Command : int { CommandForward = 1, CommandBack = 2 };

// Handed to NewWindow2 handlers: the handler names the browser in which the
// page's new window must load; none blocks the window.
struct NewWindowRequest
{
    WebBrowser* browser = nullptr;
};

// What the system needs of an embedded browser. Texts are GBK byte strings;
// navigation calls only start loading, and everything runs on the GUI thread.
class WebBrowser : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    virtual void Navigate(const QByteArray& url) = 0;
    // POSTs exactly `postData`; `headers` is header text ("Name: value" lines).
    virtual void NavigatePost(const QByteArray& url, const QByteArray& postData,
                              const QByteArray& headers) = 0;
    virtual void NavigateBlank() = 0;
    // Shows a page of the program's own (GBK HTML); nothing is fetched.
    virtual void LoadHtml(const QByteArray& html) = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void Refresh() = 0;

    // The object a NewWindow2 handler hands back to make the window open here.
    WebBrowser* Application() { return this; }

    // The address of the main frame's document; empty before the first navigation.
    virtual QByteArray LocationURL() const = 0;
    // The main frame document's own title: empty when it has none or there is
    // no document yet.
    virtual QByteArray DocumentTitle() const = 0;
    virtual bool HasDocument() const = 0;
    // Empties the text of the main document's body; false when there is no
    // document or no body. Waits for the page, but never long.
    virtual bool ClearBodyText() = 0;
    virtual bool Busy() const = 0;
    // Frees what a hidden browser holds of its page; it loads again when shown.
    virtual void Discard() {}
    // The address to open again after a run that did not end normally: the
    // current page's when it came by GET; empty when there is none.
    virtual QByteArray SessionURL() const { return LocationURL(); }

    // What the program's services attach to in a browser over the engine: the
    // engine's view, whose focus-proxy child takes the input, and its page. A
    // browser without an engine has neither, and the services leave it alone.
    virtual QWebEngineView* engineView() const { return nullptr; }
    virtual QWebEnginePage* page() const { return nullptr; }
    // Adds a script of the program's own to every document; "%TOKEN%" in the
    // source is replaced by a token unknown to the page. What it reports comes
    // as HostMessage.
    virtual void AddHostScript(const QString& name, const QString& source, bool allFrames)
    {
        Q_UNUSED(name)
        Q_UNUSED(source)
        Q_UNUSED(allFrames)
    }

signals:
    void BeforeNavigate2(const QByteArray& url);
    void NewWindow2(webview::NewWindowRequest* request);
    // For every document that completes, frames included, frames first.
    void DocumentComplete(const QByteArray& url);
    void CommandStateChange(int command, bool enable);
    // Messages of the program's own scripts other than document reports.
    void HostMessage(const QJsonObject& message);
};

// Creates the browsers of the windows, so that tests can put fakes in.
class WebBrowserFactory
{
public:
    virtual ~WebBrowserFactory() = default;
    virtual WebBrowser* Create(QWidget* parent) = 0;
};

} // namespace webview

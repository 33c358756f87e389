#pragma once

#include <QWidget>

#include <functional>

namespace site {
class InputFilter;
}

namespace webview {
class WebBrowser;
class WebBrowserFactory;
struct NewWindowRequest;
} // namespace webview

// A browser window of its own, for a page's new window that no tab can hold
// (every slot holds an open tab): the page opens here rather than not at all.
// Its view is made like every other (printing, downloads, the page's boxes
// in this window) and takes the input filter of a pop-up window, which lets
// everything through. Its caption follows the page; a page that closes its
// window closes it, and it is freed once closed.
class Tfrm_browserWindow : public QWidget
{
    Q_OBJECT
public:
    // `newWindow` names the browser for a window that this window's page opens.
    Tfrm_browserWindow(webview::WebBrowserFactory& browsers, site::InputFilter* filter,
                       std::function<webview::WebBrowser*()> newWindow, QWidget* parent = nullptr);

    webview::WebBrowser* Browser() const { return pop_WebBrowser; }

    void pop_WebBrowserNewWindow2(webview::NewWindowRequest* request);
    void pop_WebBrowserDocumentComplete(const QByteArray& url);

private:
    webview::WebBrowser* pop_WebBrowser = nullptr;
    std::function<webview::WebBrowser*()> FNewWindow;
};

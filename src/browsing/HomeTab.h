#pragma once

#include <QFrame>

class NavigationBar;

namespace browsing {
class PageHost;
}

namespace site {
class InputFilter;
}

namespace webview {
class WebBrowser;
class WebBrowserFactory;
struct NewWindowRequest;
} // namespace webview

// Panel2 of the main window, the content of the home tab: the one-line bar
// Panel3 above the home web view Main_WebBrowser, with their handlers, the
// twins of a page frame's. What reaches past them it asks of its host.
class THomeTab : public QFrame
{
    Q_OBJECT
public:
    THomeTab(browsing::PageHost& host, webview::WebBrowserFactory& browsers,
             site::InputFilter* filter, QWidget* parent);

    webview::WebBrowser* Browser() const { return Main_WebBrowser; }
    // Whether the home page's next new window goes to the pop-up window.
    bool OpensInPopup() const { return FOpenInPopup; }

    void Main_WebBrowserBeforeNavigate2(const QByteArray& url);
    void Main_WebBrowserNewWindow2(webview::NewWindowRequest* request);
    void Main_WebBrowserDocumentComplete(const QByteArray& url);
    void Main_WebBrowserCommandStateChange(int command, bool enable);
    void btn_goBackClick();
    void btn_goforwordClick();
    void RzToolButton10Click();
    void Btn_SearchManClick();
    void Btn_SearchProject_IDClick();

private:
    browsing::PageHost& FHost;
    NavigationBar* Panel3 = nullptr;
    webview::WebBrowser* Main_WebBrowser = nullptr;
    bool FOpenInPopup = false;
};

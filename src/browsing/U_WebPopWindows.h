#pragma once

#include <QWidget>

class NavigationBar;
class QLineEdit;
class QSpinBox;
class QToolButton;

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

// The content of every page tab: a web view with its one-line bar of back,
// forward, refresh and the two site searches. The frame names its tab after
// its page and sends its page's new windows to a new tab or the pop-up
// window. Its tab it knows only by its slot, `Tag`: what concerns the tab it
// tells the tab's owner by signals, the rest it asks of its host.
class TFrame_WebPopWindows : public QWidget
{
    Q_OBJECT
public:
    TFrame_WebPopWindows(browsing::PageHost& host, webview::WebBrowserFactory& browsers,
                         site::InputFilter* filter, QWidget* parent);

    // The frame's tab slot.
    int Tag = 0;

    // The web view that the registry hands out, for a page's new window or a
    // navigation.
    webview::WebBrowser* Browser() const { return pop_WebBrowser; }
    // What every opener of a tab does to its new frame.
    void DisableGoBack();

    void pop_WebBrowserBeforeNavigate2(const QByteArray& url);
    void pop_WebBrowserNewWindow2(webview::NewWindowRequest* request);
    void pop_WebBrowserDocumentComplete(const QByteArray& url);
    void pop_WebBrowserCommandStateChange(int command, bool enable);
    void btn_goBackClick();
    void btn_goforwordClick();
    void RzToolButton1Click();
    void Btn_Search_ManClick();
    void Btn_SearchProject_IDClick();

signals:
    // The caption of the frame's tab, from its page's title.
    void CaptionChanged(const QByteArray& caption);
    // The page closed its window: its own tab closes, whichever is active.
    void CloseRequested();

private:
    browsing::PageHost& FHost;
    bool FOpenInPopup = false;

    webview::WebBrowser* pop_WebBrowser = nullptr;
    NavigationBar* Panel2 = nullptr;
    QToolButton* RzToolButton1 = nullptr;
    QToolButton* btn_goforword = nullptr;
    QToolButton* btn_goBack = nullptr;
    QSpinBox* edt_ProjectID = nullptr;
    QLineEdit* edt_UserName = nullptr;
    QToolButton* Btn_Search_Man = nullptr;
    QToolButton* Btn_SearchProject_ID = nullptr;
};

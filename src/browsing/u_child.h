#pragma once

#include <QWidget>

class QFrame;

namespace webview {
class WebBrowser;
class WebBrowserFactory;
struct NewWindowRequest;
} // namespace webview

// A small stay-on-top browser window for the windows that the site opens
// from its account pages. A page shown here that opens a further window has
// it shown in the partner window, which takes this one's place.
class Tfrm_child : public QWidget
{
    Q_OBJECT
public:
    explicit Tfrm_child(webview::WebBrowserFactory& browsers, QWidget* parent = nullptr);

    // The window that receives the new windows of this one's page.
    void SetPartner(Tfrm_child* partner) { FPartner = partner; }

    // The web view whose page a new-window request of any view may take.
    webview::WebBrowser* Browser() const { return pop_WebBrowser; }

    void pop_WebBrowserNewWindow2(webview::NewWindowRequest* request);
    void Panel2DblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QFrame* Panel2 = nullptr;
    webview::WebBrowser* pop_WebBrowser = nullptr;
    Tfrm_child* FPartner = nullptr;
    bool FDesignSizeApplied = false;
};

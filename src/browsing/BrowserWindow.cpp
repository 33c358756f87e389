#include "browsing/BrowserWindow.h"

#include "localfiles/Gbk.h"
#include "site/InputFilter.h"
#include "webview/NativeWindowSurface.h"
#include "webview/WebBrowser.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <QWebEnginePage>

Tfrm_browserWindow::Tfrm_browserWindow(webview::WebBrowserFactory& browsers,
                                       site::InputFilter* filter,
                                       std::function<webview::WebBrowser*()> newWindow,
                                       QWidget* parent)
    : QWidget(parent, Qt::Window), FNewWindow(std::move(newWindow))
{
    setObjectName(QStringLiteral("frm_browserWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    webview::PrepareWindowForWebViews(this);
    // The main window's design size, centred on its parent's screen or the
    // primary one.
    resize(1124, 738);
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    pop_WebBrowser = browsers.Create(this);
    pop_WebBrowser->setObjectName(QStringLiteral("pop_WebBrowser"));
    layout->addWidget(pop_WebBrowser);

    if (filter)
        filter->Register(pop_WebBrowser, site::ViewKind::PopUp, {});
    if (QWebEnginePage* page = pop_WebBrowser->page()) {
        // The size a page asks for in window.open.
        connect(page, &QWebEnginePage::geometryChangeRequested, this,
                [this](const QRect& geometry) {
                    if (geometry.width() > 0 && geometry.height() > 0)
                        resize(geometry.size());
                });
        // A window that a page opened, that page may close.
        connect(page, &QWebEnginePage::windowCloseRequested, this, &QWidget::close);
    }
    connect(pop_WebBrowser, &webview::WebBrowser::NewWindow2, this,
            &Tfrm_browserWindow::pop_WebBrowserNewWindow2);
    connect(pop_WebBrowser, &webview::WebBrowser::DocumentComplete, this,
            &Tfrm_browserWindow::pop_WebBrowserDocumentComplete);
}

void Tfrm_browserWindow::pop_WebBrowserNewWindow2(webview::NewWindowRequest* request)
{
    try {
        if (FNewWindow)
            request->browser = FNewWindow();
    } catch (...) {
    }
}

void Tfrm_browserWindow::pop_WebBrowserDocumentComplete(const QByteArray& url)
{
    if (url != pop_WebBrowser->LocationURL())
        return; // a frame inside the page
    const QByteArray title = pop_WebBrowser->DocumentTitle();
    setWindowTitle(gbk::toUnicode(title.isEmpty() ? url : title));
}

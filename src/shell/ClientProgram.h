#pragma once

#include <memory>

class QWebEngineProfile;
class Tbase_form;
class TDlg_base;
class Tfrm_child;
class Tfrm_child2;
class Tfrm_printTicket;

namespace browsing {
class SessionStore;
}

namespace webview {
class DownloadSaver;
class WebViewFactory;
} // namespace webview

namespace windows {
class TAboutBox;
class TFm_Notice;
} // namespace windows

namespace shell {

class Application;
class SingleInstanceGuard;

// The whole client as the executable starts it: the application, the
// single-instance guard, the one web profile and the seven windows. The
// benchmark starts the same object, so it measures what ships.
class ClientProgram
{
public:
    ClientProgram(int& argc, char** argv);
    ~ClientProgram();
    ClientProgram(const ClientProgram&) = delete;
    ClientProgram& operator=(const ClientProgram&) = delete;

    Tfrm_printTicket& mainWindow() const { return *Ffrm_printTicket; }

    // Shows the main window, or hands over to the copy already running, and
    // runs the event loop; the windows that stay hidden until asked for
    // (the two pop-ups, About, notice, the base forms) are made once the home
    // page completed, a pop-up sooner when a page needs one.
    // Without the GBK converter the start was refused with a box, and this
    // returns ExitTextConverterMissing at once.
    int exec();

private:
    static constexpr int HiddenWindowsAtTheLatestMs = 5000;
    void MakeHiddenWindows();
    void MakePopupWindows();

    std::unique_ptr<Application> FApp;
    std::unique_ptr<SingleInstanceGuard> FGuard;
    std::unique_ptr<QWebEngineProfile> FProfile;
    std::unique_ptr<webview::WebViewFactory> FBrowsers;
    std::unique_ptr<webview::DownloadSaver> FDownloads;
    std::unique_ptr<browsing::SessionStore> FSession;
    std::unique_ptr<Tfrm_printTicket> Ffrm_printTicket;
    std::unique_ptr<Tfrm_child> Ffrm_child;
    std::unique_ptr<Tfrm_child2> Ffrm_child2;
    std::unique_ptr<windows::TAboutBox> FAboutBox;
    std::unique_ptr<windows::TFm_Notice> FFm_Notice;
    std::unique_ptr<Tbase_form> Fbase_form;
    std::unique_ptr<TDlg_base> FDlg_base;
};

} // namespace shell

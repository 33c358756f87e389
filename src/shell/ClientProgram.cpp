#include "shell/ClientProgram.h"

#include "browsing/SessionStore.h"
#include "browsing/U_child2.h"
#include "browsing/u_child.h"
#include "shell/Application.h"
#include "shell/SingleInstanceGuard.h"
#include "shell/TextConverterCheck.h"
#include "shell/U_PrintTicket.h"
#include "shell/u_base.h"
#include "shell/u_base_dialog.h"
#include "ui/ImageLists.h"
#include "webview/DownloadSaver.h"
#include "webview/WebView.h"
#include "windows/U_About.h"
#include "windows/U_Fm_Notice.h"

#include <QFileInfo>
#include <QTimer>
#include <QWebEngineProfile>

namespace shell {

ClientProgram::ClientProgram(int& argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    FApp = std::make_unique<Application>(argc, argv);
    FApp->setWindowIcon(ui::AppIcon());
    // Nothing is made without the text converter: exec() only ends.
    if (!TextConverterReady())
        return;

    // Before any window: a second copy shows none of its own.
    FGuard = std::make_unique<SingleInstanceGuard>();

    // One persistent profile for every view, so that the site's logins and
    // cookies survive a restart; it outlives every page.
    FProfile = std::make_unique<QWebEngineProfile>(QStringLiteral("zantu"));
    FBrowsers = std::make_unique<webview::WebViewFactory>(FProfile.get());
    FDownloads = std::make_unique<webview::DownloadSaver>(FProfile.get());

    // The running copy's home page starts loading while its window is built.
    Ffrm_printTicket = std::make_unique<Tfrm_printTicket>(
        *FBrowsers, FGuard->isFirstCopy() ? Tfrm_printTicket::HomeLoad::AtConstruction
                                          : Tfrm_printTicket::HomeLoad::AtShow);
    Ffrm_printTicket->SetPopupWindowsMaker([this] { MakePopupWindows(); });
}

ClientProgram::~ClientProgram()
{
    // The windows and their pages go before the profile, the profile before
    // the application; none is made on the way out.
    if (Ffrm_printTicket)
        Ffrm_printTicket->SetPopupWindowsMaker({});
    FDlg_base.reset();
    Fbase_form.reset();
    FFm_Notice.reset();
    FAboutBox.reset();
    Ffrm_child2.reset();
    Ffrm_child.reset();
    Ffrm_printTicket.reset();
    FSession.reset();
    FDownloads.reset();
    FBrowsers.reset();
    FProfile.reset();
    FGuard.reset();
}

int ClientProgram::exec()
{
    if (!Ffrm_printTicket)
        return ExitTextConverterMissing;
    FGuard->setMainWindow(Ffrm_printTicket.get());
    if (FGuard->isFirstCopy()) {
        // The open page tabs are kept in the user's data folder, beside the
        // web profile; a second copy leaves them alone.
        FSession = std::make_unique<browsing::SessionStore>(
            QFileInfo(FProfile->persistentStoragePath()).absolutePath() +
            QStringLiteral("/Session.txt"));
        const QList<QByteArray> unfinished = FSession->Open();
        Ffrm_printTicket->SetSessionStore(FSession.get());
        Ffrm_printTicket->showMaximized();
        Ffrm_printTicket->RestorePageTabs(unfinished);
    } else
        FGuard->askRunningCopy();
    // The windows that stay hidden until asked for are made once the home
    // page has completed, or after 5 s (the pop-ups sooner when a page needs
    // one): made while it loads, they held the GUI thread that the engine's
    // navigation waits on.
    Tfrm_printTicket* window = Ffrm_printTicket.get();
    QObject::connect(
        window->HomeBrowser(), &webview::WebBrowser::DocumentComplete, window,
        [this] { MakeHiddenWindows(); }, Qt::SingleShotConnection);
    QTimer::singleShot(HiddenWindowsAtTheLatestMs, window, [this] { MakeHiddenWindows(); });
    return FApp->exec();
}

void ClientProgram::MakePopupWindows()
{
    if (Ffrm_child)
        return;
    Ffrm_child = std::make_unique<Tfrm_child>(*FBrowsers);
    Ffrm_child2 = std::make_unique<Tfrm_child2>(*FBrowsers);
    Ffrm_child->SetPartner(Ffrm_child2.get());
    Ffrm_child2->SetPartner(Ffrm_child.get());
    Ffrm_printTicket->SetPopupWindows(Ffrm_child.get(), Ffrm_child2.get());
}

void ClientProgram::MakeHiddenWindows()
{
    MakePopupWindows();
    if (FAboutBox)
        return;
    FAboutBox = std::make_unique<windows::TAboutBox>();
    FFm_Notice = std::make_unique<windows::TFm_Notice>();
    Fbase_form = std::make_unique<Tbase_form>();
    FDlg_base = std::make_unique<TDlg_base>();
}

} // namespace shell

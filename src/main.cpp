#include "browsing/U_child2.h"
#include "browsing/u_child.h"
#include "shell/Application.h"
#include "shell/SingleInstanceGuard.h"
#include "shell/Skin.h"
#include "shell/U_PrintTicket.h"
#include "shell/u_base.h"
#include "shell/u_base_dialog.h"
#include "webview/DownloadSaver.h"
#include "webview/WebView.h"
#include "windows/U_About.h"
#include "windows/U_Fm_Notice.h"

#include <QWebEngineProfile>

#include <memory>

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    shell::Application app(argc, argv);
    app.setWindowIcon(QIcon(QStringLiteral(":/images/app.png")));
    app.setStyleSheet(shell::SkinStyleSheet());

    // Before any window: a second copy shows none of its own.
    shell::SingleInstanceGuard guard;

    // One persistent profile for every view, so that the site's logins and
    // cookies survive a restart; it outlives every page.
    QWebEngineProfile profile(QStringLiteral("zantu"));
    webview::WebViewFactory browsers(&profile);
    webview::DownloadSaver downloads(&profile);

    auto frm_printTicket = std::make_unique<Tfrm_printTicket>(browsers);
    auto frm_child = std::make_unique<Tfrm_child>(browsers);
    auto frm_child2 = std::make_unique<Tfrm_child2>(browsers);
    auto AboutBox = std::make_unique<windows::TAboutBox>();
    auto Fm_Notice = std::make_unique<windows::TFm_Notice>();
    auto base_form = std::make_unique<Tbase_form>();
    auto Dlg_base = std::make_unique<TDlg_base>();

    frm_child->SetPartner(frm_child2.get());
    frm_child2->SetPartner(frm_child.get());
    frm_printTicket->SetPopupWindows(frm_child.get(), frm_child2.get());

    guard.setMainWindow(frm_printTicket.get());
    if (guard.isFirstCopy())
        frm_printTicket->showMaximized();
    else
        guard.askRunningCopy();
    return app.exec();
}

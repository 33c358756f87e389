#include "shell/Application.h"
#include "shell/Skin.h"
#include "shell/U_PrintTicket.h"
#include "shell/u_base.h"
#include "shell/u_base_dialog.h"
#include "webview/WebView.h"

#include <QWebEngineProfile>

#include <memory>

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    shell::Application app(argc, argv);
    app.setStyleSheet(shell::SkinStyleSheet());

    // One persistent profile for every view, so that the site's logins and
    // cookies survive a restart; it outlives every page.
    QWebEngineProfile profile(QStringLiteral("zantu"));
    webview::WebViewFactory browsers(&profile);

    auto frm_printTicket = std::make_unique<Tfrm_printTicket>(browsers);
    auto base_form = std::make_unique<Tbase_form>();
    auto Dlg_base = std::make_unique<TDlg_base>();

    frm_printTicket->showMaximized();
    return app.exec();
}

#include "browsing/U_child2.h"

Tfrm_child2::Tfrm_child2(webview::WebBrowserFactory& browsers, QWidget* parent)
    : Tfrm_child(browsers, parent)
{
    setObjectName(QStringLiteral("frm_child2"));
    setWindowTitle(QStringLiteral("frm_child2"));
    move(184, 302);
}

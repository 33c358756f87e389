#include "browsing/u_child.h"

#include "browsing/PopupPlacement.h"
#include "site/SiteValues.h"
#include "webview/WebBrowser.h"

#include <QEvent>
#include <QFrame>
#include <QVBoxLayout>

Tfrm_child::Tfrm_child(webview::WebBrowserFactory& browsers, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frm_child"));
    setWindowTitle(QStringLiteral("Zantu彩票管家"));
    resize(735, 369);
    move(307, 153);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedHeight(25);
    Panel2->setStyleSheet(QStringLiteral("QFrame#Panel2 { background: #C4DDFF; }"));
    Panel2->installEventFilter(this);
    layout->addWidget(Panel2);

    pop_WebBrowser = browsers.Create(this);
    pop_WebBrowser->setObjectName(QStringLiteral("pop_WebBrowser"));
    layout->addWidget(pop_WebBrowser, 1);
    connect(pop_WebBrowser, &webview::WebBrowser::NewWindow2, this,
            &Tfrm_child::pop_WebBrowserNewWindow2);
}

void Tfrm_child::pop_WebBrowserNewWindow2(webview::NewWindowRequest* request)
{
    if (!FPartner)
        return;
    browsing::PlacePopupWindow(FPartner);
    request->browser = FPartner->pop_WebBrowser->Application();
    hide();
}

void Tfrm_child::Panel2DblClick()
{
    pop_WebBrowser->Navigate(site::MainHost);
}

void Tfrm_child::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The design size is the outer size, which is known once the window has a frame.
    if (!FDesignSizeApplied) {
        FDesignSizeApplied = true;
        browsing::SetOuterSize(this, QSize(735, 369));
    }
}

bool Tfrm_child::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Panel2 && event->type() == QEvent::MouseButtonDblClick)
        Panel2DblClick();
    return QWidget::eventFilter(watched, event);
}

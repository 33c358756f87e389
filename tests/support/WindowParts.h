#pragma once

#include "browsing/HomeTab.h"
#include "browsing/NavigationBar.h"
#include "webview/WebBrowser.h"

#include <QObject>
#include <QString>
#include <QTabWidget>

// A window's part found by the name the program gives it (its objectName),
// for what a window does not offer as an operation. Null when there is none.
template <typename T> T* PartOf(const QObject& owner, const QString& name)
{
    return owner.findChild<T*>(name);
}

// The main window's named parts that most tests reach.
inline QTabWidget* PageWebClient(const QObject& window)
{
    return PartOf<QTabWidget>(window, QStringLiteral("PageWebClient"));
}
inline THomeTab* HomeTab(const QObject& window)
{
    return PartOf<THomeTab>(window, QStringLiteral("Panel2"));
}
inline NavigationBar* Panel3(const QObject& window)
{
    return PartOf<NavigationBar>(window, QStringLiteral("Panel3"));
}
inline webview::WebBrowser* Main_WebBrowser(const QObject& window)
{
    return PartOf<webview::WebBrowser>(window, QStringLiteral("Main_WebBrowser"));
}

#pragma once

#include <QByteArray>

class QLineEdit;
class QSpinBox;

namespace webview {
class WebBrowser;
}

// The two searches of the bar above every web view; the page opens in the
// web view below the boxes.
namespace site {

// Posts the user name, as typed, to the site's user page.
void SearchUser(webview::WebBrowser& view, const QByteArray& homePageUrl,
                const QLineEdit& userName);
// Opens the plan page of the number in the box.
void SearchPlan(webview::WebBrowser& view, const QByteArray& homePageUrl, QSpinBox& projectId);

} // namespace site

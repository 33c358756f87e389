#pragma once

#include <QString>

class QAuthenticator;
class QUrl;
class QWidget;

// The boxes a page asks for, through the program's own boxes. Each belongs to
// the window of the page's view, so that it stands above a stay-on-top
// pop-up window rather than behind it.
namespace webview::PageDialogs {

void Alert(QWidget* window, const QString& text);
bool Confirm(QWidget* window, const QString& text);
// False when cancelled; `value` comes in as the page's default.
bool Prompt(QWidget* window, const QString& text, QString* value);
// Fills `authenticator`; false when the operator declined.
bool Credentials(QWidget* window, const QUrl& url, QAuthenticator* authenticator);
// Tells the operator that a site's certificate was refused.
void CertificateRefused(QWidget* window, const QUrl& url);

} // namespace webview::PageDialogs

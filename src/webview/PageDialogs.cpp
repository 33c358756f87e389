#include "webview/PageDialogs.h"

#include "localfiles/Gbk.h"
#include "ui/MessageBoxes.h"

#include <QAuthenticator>
#include <QUrl>

namespace webview::PageDialogs {
namespace {

QByteArray caption()
{
    return gbk::fromUnicode(QStringLiteral(u"来自网页的消息"));
}

} // namespace

void Alert(QWidget* window, const QString& text)
{
    ui::ShowMessageBox(gbk::fromUnicode(text), caption(), ui::Mb::Ok | ui::Mb::IconWarning, window);
}

bool Confirm(QWidget* window, const QString& text)
{
    return ui::ShowMessageBox(gbk::fromUnicode(text), caption(),
                              ui::Mb::OkCancel | ui::Mb::IconQuestion, window) == ui::Answer::Ok;
}

bool Prompt(QWidget* window, const QString& text, QString* value)
{
    QList<ui::InputLine> lines{{QByteArray(), gbk::fromUnicode(*value), false}};
    if (!ui::ShowInputBox(gbk::fromUnicode(text), caption(), lines, window))
        return false;
    *value = gbk::toUnicode(lines[0].value);
    return true;
}

bool Credentials(QWidget* window, const QUrl& url, QAuthenticator* authenticator)
{
    QString text = QStringLiteral(u"服务器 %1 要求输入用户名和密码。").arg(url.host());
    if (!authenticator->realm().isEmpty())
        text += QStringLiteral(u"\n服务器提示：%1").arg(authenticator->realm());
    QList<ui::InputLine> lines{{gbk::fromUnicode(QStringLiteral(u"用户名：")),
                                gbk::fromUnicode(authenticator->user()), false},
                               {gbk::fromUnicode(QStringLiteral(u"密码：")), QByteArray(), true}};
    if (!ui::ShowInputBox(gbk::fromUnicode(text), gbk::fromUnicode(QStringLiteral(u"需要登录")),
                          lines, window))
        return false;
    authenticator->setUser(gbk::toUnicode(lines[0].value));
    authenticator->setPassword(gbk::toUnicode(lines[1].value));
    return true;
}

void CertificateRefused(QWidget* window, const QUrl& url)
{
    ui::ShowMessageBox(
        gbk::fromUnicode(
            QStringLiteral(u"网站 %1 的安全证书有问题，已拒绝连接该网站。").arg(url.host())),
        gbk::fromUnicode(QStringLiteral(u"安全警告")), ui::Mb::Ok | ui::Mb::IconError, window);
}

} // namespace webview::PageDialogs

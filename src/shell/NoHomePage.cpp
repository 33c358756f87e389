#include "shell/NoHomePage.h"

#include "localfiles/Gbk.h"

#include <QDir>
#include <QString>

namespace shell {

QByteArray NoHomePageHtml(const QByteArray& programFolder, const QByteArray& workingDirectory)
{
    const auto shown = [](const QByteArray& folder) {
        return QDir::toNativeSeparators(gbk::toUnicode(folder)).toHtmlEscaped();
    };
    const QString html =
        QStringLiteral(
            u"<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>未设置首页</title>"
            u"<style>body{font:14px sans-serif;margin:32px;color:#222}"
            u"code,pre{background:#f0f4fa;padding:2px 4px}li{margin:12px 0}</style></head><body>"
            u"<h1>未设置首页</h1>"
            u"<p>本程序还没有首页地址，所以首页标签中没有网页可以显示。"
            u"请用下面两种方法之一设置首页，然后重新启动本程序。</p><ol>"
            u"<li>在程序文件夹的 <code>Config.ini</code> 中，<code>[TaskConfig]</code> 节的 "
            u"<code>HomePage</code> 项写入首页地址，地址须有 13 个字节或更长，例如："
            u"<pre>[TaskConfig]\nHomePage=http://www.example.com/</pre>"
            u"程序文件夹：<code>%1</code></li>"
            u"<li>或者在工作目录（启动本程序时的当前目录）的 <code>AutoUpdate.ini</code> 中，"
            u"<code>[Version]</code> 节的 <code>HomePage</code> 项写入首页地址。"
            u"Config.ini 中的 HomePage 不足 13 个字节时，使用这里的地址。"
            u"<br>工作目录：<code>%2</code></li></ol></body></html>")
            .arg(shown(programFolder), shown(workingDirectory));
    return gbk::fromUnicode(html);
}

} // namespace shell

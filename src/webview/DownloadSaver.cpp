#include "webview/DownloadSaver.h"

#include "localfiles/Gbk.h"
#include "shell/MessageBoxes.h"
#include "webview/DownloadProgress.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace webview {
namespace {

QWidget* windowOf(const QWebEngineDownloadRequest* download)
{
    QWebEngineView* view = download->page() ? QWebEngineView::forPage(download->page()) : nullptr;
    return view ? view->window() : nullptr;
}

} // namespace

DownloadSaver::DownloadSaver(QWebEngineProfile* profile, QObject* parent)
    : QObject(parent), FChoosePath([](const QString& suggested, QWidget* window) {
          return QFileDialog::getSaveFileName(window, QStringLiteral("保存文件"), suggested);
      })
{
    connect(profile, &QWebEngineProfile::downloadRequested, this,
            &DownloadSaver::OnDownloadRequested);
}

QString DownloadSaver::FailureText(int interruptReason)
{
    using R = QWebEngineDownloadRequest;
    switch (interruptReason) {
    case R::FileFailed:
    case R::FileAccessDenied:
    case R::FileNameTooLong:
    case R::FileTooLarge:
    case R::FileTransientError:
        return QStringLiteral(u"无法写入所选的文件");
    case R::FileNoSpace:
        return QStringLiteral(u"磁盘空间不足");
    case R::FileVirusInfected:
    case R::FileBlocked:
    case R::FileSecurityCheckFailed:
        return QStringLiteral(u"文件被系统阻止");
    case R::NetworkFailed:
    case R::NetworkTimeout:
    case R::NetworkDisconnected:
    case R::NetworkServerDown:
    case R::NetworkInvalidRequest:
        return QStringLiteral(u"网络连接中断");
    case R::ServerFailed:
    case R::ServerBadContent:
    case R::ServerUnauthorized:
    case R::ServerCertProblem:
    case R::ServerForbidden:
    case R::ServerUnreachable:
        return QStringLiteral(u"服务器未能提供该文件");
    default:
        return QStringLiteral(u"下载未能完成");
    }
}

void DownloadSaver::OnDownloadRequested(QWebEngineDownloadRequest* download)
{
    QPointer<QWidget> window = windowOf(download);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    const QString chosen =
        FChoosePath(QDir(folder).filePath(download->suggestedFileName()), window);
    if (chosen.isEmpty()) {
        download->cancel();
        return;
    }
    const QFileInfo target(chosen);
    download->setDownloadDirectory(target.absolutePath());
    download->setDownloadFileName(target.fileName());
    connect(download, &QWebEngineDownloadRequest::isFinishedChanged, this,
            [this, download, window] {
                if (download->isFinished())
                    OnFinished(download, window);
            });
    download->accept();
    (new DownloadProgress(download, window))->show();
}

void DownloadSaver::OnFinished(QWebEngineDownloadRequest* download, QWidget* window)
{
    const QString path = QDir(download->downloadDirectory()).filePath(download->downloadFileName());
    const auto state = download->state();
    if (state == QWebEngineDownloadRequest::DownloadInterrupted)
        shell::ShowMessageBox(
            gbk::fromUnicode(QStringLiteral(u"文件“%1”下载失败：%2。\n%3")
                                 .arg(download->downloadFileName(),
                                      FailureText(download->interruptReason()), path)),
            gbk::fromUnicode(QStringLiteral(u"文件下载")), shell::Mb::Ok | shell::Mb::IconError,
            window);
    emit Finished(path, state == QWebEngineDownloadRequest::DownloadCompleted);
}

} // namespace webview

#include "webview/DownloadSaver.h"

#include "localfiles/Gbk.h"
#include "ui/MessageBoxes.h"
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
    QString chosen;
    QPointer<QWidget> window;
    const auto known = FActive.find(download->id());
    if (known != FActive.end()) {
        // The engine resuming a download it cut off itself asks again with
        // the same id and a new request: same file, no new question.
        chosen = known->path;
        window = known->window;
        if (known->progress)
            known->progress->close();
    } else {
        window = windowOf(download);
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
        chosen = FChoosePath(QDir(folder).filePath(download->suggestedFileName()), window);
        if (chosen.isEmpty()) {
            download->cancel();
            return;
        }
    }
    const QFileInfo target(chosen);
    download->setDownloadDirectory(target.absolutePath());
    download->setDownloadFileName(target.fileName());
    // An interrupted download is not "finished" to the engine (it could be
    // resumed), but it has ended for the operator.
    connect(download, &QWebEngineDownloadRequest::stateChanged, this,
            [this, download](QWebEngineDownloadRequest::DownloadState state) {
                if (state != QWebEngineDownloadRequest::DownloadRequested &&
                    state != QWebEngineDownloadRequest::DownloadInProgress)
                    OnFinished(download);
            });
    auto* progress = new DownloadProgress(download, window);
    connect(progress, &DownloadProgress::CancelRequested, this, [this, download] {
        if (FActive.contains(download->id()))
            FActive[download->id()].cancelledByOperator = true;
        download->cancel();
    });
    FActive.insert(download->id(), {target.absoluteFilePath(), window, progress});
    download->accept();
    if (FActive.contains(download->id()))
        progress->show();
}

void DownloadSaver::OnFinished(QWebEngineDownloadRequest* download)
{
    const Active active = FActive.take(download->id());
    if (active.progress)
        active.progress->close();
    const auto state = download->state();
    QString reason;
    if (state == QWebEngineDownloadRequest::DownloadInterrupted)
        reason = FailureText(download->interruptReason());
    else if (state == QWebEngineDownloadRequest::DownloadCancelled && !active.cancelledByOperator)
        // The engine cancels by itself when it cannot make the chosen folder.
        reason = FailureText(QWebEngineDownloadRequest::FileFailed);
    if (!reason.isEmpty())
        ui::ShowMessageBox(gbk::fromUnicode(QStringLiteral(u"文件“%1”下载失败：%2。\n%3")
                                                .arg(QFileInfo(active.path).fileName(), reason,
                                                     QDir::toNativeSeparators(active.path))),
                           gbk::fromUnicode(QStringLiteral(u"文件下载")),
                           ui::Mb::Ok | ui::Mb::IconError, active.window);
    emit Finished(active.path, state == QWebEngineDownloadRequest::DownloadCompleted);
}

} // namespace webview

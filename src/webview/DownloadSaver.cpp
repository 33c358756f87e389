#include "webview/DownloadSaver.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

namespace webview {

DownloadSaver::DownloadSaver(QWebEngineProfile* profile, QObject* parent)
    : QObject(parent), FChoosePath([](const QString& suggested) {
          return QFileDialog::getSaveFileName(QApplication::activeWindow(),
                                              QStringLiteral("保存文件"), suggested);
      })
{
    connect(profile, &QWebEngineProfile::downloadRequested, this,
            &DownloadSaver::OnDownloadRequested);
}

void DownloadSaver::OnDownloadRequested(QWebEngineDownloadRequest* download)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    const QString chosen = FChoosePath(QDir(folder).filePath(download->suggestedFileName()));
    if (chosen.isEmpty()) {
        download->cancel();
        return;
    }
    const QFileInfo target(chosen);
    download->setDownloadDirectory(target.absolutePath());
    download->setDownloadFileName(target.fileName());
    download->accept();
}

} // namespace webview

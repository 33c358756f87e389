#include "webview/DownloadProgress.h"

#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>

namespace webview {

DownloadProgress::DownloadProgress(QWebEngineDownloadRequest* download, QWidget* window)
    : QWidget(window, Qt::Dialog), FDownload(download)
{
    setObjectName(QStringLiteral("DownloadProgress"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral(u"文件下载"));
    auto* layout = new QVBoxLayout(this);
    FText = new QLabel(this);
    layout->addWidget(FText);
    FBar = new QProgressBar(this);
    layout->addWidget(FBar);
    auto* cancel = new QPushButton(QStringLiteral(u"取消"), this);
    layout->addWidget(cancel, 0, Qt::AlignRight);
    connect(cancel, &QPushButton::clicked, this, &DownloadProgress::CancelRequested);
    connect(download, &QWebEngineDownloadRequest::receivedBytesChanged, this,
            &DownloadProgress::Update);
    connect(download, &QWebEngineDownloadRequest::totalBytesChanged, this,
            &DownloadProgress::Update);
    connect(download, &QWebEngineDownloadRequest::stateChanged, this,
            [this](QWebEngineDownloadRequest::DownloadState state) {
                if (state != QWebEngineDownloadRequest::DownloadRequested &&
                    state != QWebEngineDownloadRequest::DownloadInProgress)
                    close();
            });
    connect(download, &QObject::destroyed, this, &QWidget::close);
    Update();
    resize(360, sizeHint().height());
}

void DownloadProgress::Update()
{
    const QLocale locale;
    const qint64 received = FDownload->receivedBytes();
    const qint64 total = FDownload->totalBytes();
    QString text = QStringLiteral(u"正在下载 %1\n已收到 %2")
                       .arg(FDownload->downloadFileName(), locale.formattedDataSize(received));
    if (total > 0) {
        text += QStringLiteral(u"，共 %1").arg(locale.formattedDataSize(total));
        FBar->setRange(0, 1000);
        FBar->setValue(static_cast<int>(qMin<qint64>(1000, received * 1000 / total)));
    } else {
        FBar->setRange(0, 0); // size unknown: a busy bar
    }
    FText->setText(text);
}

} // namespace webview

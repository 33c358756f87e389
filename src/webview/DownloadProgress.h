#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QWebEngineDownloadRequest;

namespace webview {

// A small window over the page's window that shows how far a download has
// come and can cancel it; it closes itself when the download ends.
class DownloadProgress : public QWidget
{
    Q_OBJECT
public:
    DownloadProgress(QWebEngineDownloadRequest* download, QWidget* window);

    QProgressBar* bar() const { return FBar; }

signals:
    void CancelRequested();

private:
    void Update();

    QWebEngineDownloadRequest* FDownload;
    QLabel* FText = nullptr;
    QProgressBar* FBar = nullptr;
};

} // namespace webview

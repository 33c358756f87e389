#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QWebEngineDownloadRequest;
class QWebEngineProfile;
class QWidget;

namespace webview {

class DownloadProgress;

// Saves what the site's pages hand over as downloads (a plan file, a
// report) to a file the operator chooses, showing its progress and telling
// the operator when it fails; without it the engine drops them.
class DownloadSaver : public QObject
{
    Q_OBJECT
public:
    explicit DownloadSaver(QWebEngineProfile* profile, QObject* parent = nullptr);

    // Returns the file to save to, or nothing to refuse the download. By
    // default the save dialog with the site's file name, starting in the
    // user's download folder and owned by the window of the page's view.
    using PathChooser = std::function<QString(const QString& suggestedPath, QWidget* window)>;
    void SetPathChooser(PathChooser chooser) { FChoosePath = std::move(chooser); }

    // The operator's words for why a download failed.
    static QString FailureText(int interruptReason);

signals:
    // A download accepted here has ended: saved, failed or cancelled.
    void Finished(const QString& path, bool saved);

private:
    void OnDownloadRequested(QWebEngineDownloadRequest* download);
    void OnFinished(QWebEngineDownloadRequest* download);

    struct Active
    {
        QString path;
        QPointer<QWidget> window;
        QPointer<DownloadProgress> progress;
        bool cancelledByOperator = false;
    };

    PathChooser FChoosePath;
    QHash<quint32, Active> FActive; // by the engine's download id
};

} // namespace webview

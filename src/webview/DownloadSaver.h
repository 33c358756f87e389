#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWebEngineDownloadRequest;
class QWebEngineProfile;

namespace webview {

// Saves what the site's pages hand over as downloads (a plan file, a
// report) to a file the operator chooses; without it the engine drops them.
class DownloadSaver : public QObject
{
    Q_OBJECT
public:
    explicit DownloadSaver(QWebEngineProfile* profile, QObject* parent = nullptr);

    // Returns the file to save to, or nothing to refuse the download. By
    // default the save dialog, starting in the user's download folder.
    using PathChooser = std::function<QString(const QString& suggestedPath)>;
    void SetPathChooser(PathChooser chooser) { FChoosePath = std::move(chooser); }

private:
    void OnDownloadRequested(QWebEngineDownloadRequest* download);

    PathChooser FChoosePath;
};

} // namespace webview

#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QLockFile>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <chrono>
#include <memory>

class QLocalServer;
class QLocalSocket;

// One running copy per user and desktop. The first copy holds a lock file and
// listens on a local server, both named after the guard's name in the user's
// own runtime folder; a later copy finds the lock taken, asks the running copy
// over the server to come forward, and ends on its answer.
//
// Two kinds of message, one line each:
//   "1 <pid>\n"   new copy -> running copy: a second copy has started; the
//                 connection it arrives on is where the answer goes.
//   "2 <winId>\n" running copy -> new copy: the running copy's main window,
//                 already restored, raised and activated.
namespace shell {

class SingleInstanceGuard : public QObject
{
    Q_OBJECT

public:
    static constexpr const char* DefaultName = "modify there to set Unique string!";
    static constexpr std::chrono::milliseconds DefaultGiveUp{10000};

    // Takes the lock and starts listening, or finds another copy running.
    // Construct right after the application object, before any window.
    explicit SingleInstanceGuard(const QString& name = QString::fromLatin1(DefaultName),
                                 QObject* parent = nullptr);
    ~SingleInstanceGuard() override;
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    bool isFirstCopy() const { return FFirstCopy; }

    // First copy: the window to bring forward, and whose id answers a new copy.
    void setMainWindow(QWidget* mainWindow) { FMainWindow = mainWindow; }

    // Second copy: asks the running copy to come forward and quits the
    // application on its answer, or quietly after `giveUpAfter`. Returns at
    // once; the work is done by the event loop.
    void askRunningCopy(std::chrono::milliseconds giveUpAfter = DefaultGiveUp);

    // Why the lock or the server could not be set up; start-up goes on anyway.
    const QString& failure() const { return FFailure; }

    // Where the lock file and the server of a guard name live.
    static QString lockFilePath(const QString& name);
    static QString serverName(const QString& name);

signals:
    // First copy: a new copy asked, and the main window has been brought forward.
    void requestReceived(qint64 newCopyPid);
    // Second copy: the running copy answered; the application is quitting.
    void answerReceived(quintptr mainWindowId);
    // Second copy: no answer in time; the application is quitting.
    void gaveUp();

private:
    void listen();
    void acceptConnections();
    void readRequest(QLocalSocket* socket);
    void bringMainWindowForward();

    void connectToRunningCopy();
    void retryLater();
    void readAnswer();
    void finish();

    QString FName;
    QLockFile FLock;
    bool FFirstCopy = true;
    QString FFailure;
    QLocalServer* FServer = nullptr;
    QPointer<QWidget> FMainWindow;

    QLocalSocket* FSocket = nullptr;
    QDeadlineTimer FDeadline;
    bool FAsked = false;
    bool FFinished = false;
};

} // namespace shell

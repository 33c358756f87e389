#include "shell/SingleInstanceGuard.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>

namespace shell {
namespace {

constexpr int MaxLineBytes = 64;
constexpr int RetryMs = 50;
// A caller that connects and never speaks is dropped after this.
constexpr int SilentPeerMs = 5000;

// The user's own runtime folder (0700 on Unix), so another user can neither
// take the lock nor reach the server.
QString guardFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    QDir().mkpath(folder);
    return folder;
}

bool parseLine(const QByteArray& line, int& kind, QByteArray& param)
{
    const QByteArray t = line.trimmed();
    const int blank = t.indexOf(' ');
    bool ok = false;
    kind = t.left(blank < 0 ? t.size() : blank).toInt(&ok);
    param = blank < 0 ? QByteArray() : t.mid(blank + 1).trimmed();
    return ok;
}

} // namespace

QString SingleInstanceGuard::lockFilePath(const QString& name)
{
    return QDir(guardFolder()).filePath(name + QStringLiteral(".lock"));
}

// A full path: a Unix socket inside the user's folder, or on Windows a pipe
// whose name carries the user's folder.
QString SingleInstanceGuard::serverName(const QString& name)
{
    return QDir(guardFolder()).filePath(name);
}

SingleInstanceGuard::SingleInstanceGuard(const QString& name, QObject* parent)
    : QObject(parent), FName(name), FLock(lockFilePath(name))
{
    // Stale time 0: the lock is taken over only when its owner process is gone,
    // never because of its age.
    FLock.setStaleLockTime(0);
    if (FLock.tryLock(0)) {
        // Only the holder of the lock may clear a socket left by a crash.
        QLocalServer::removeServer(serverName(FName));
        listen();
        return;
    }
    if (FLock.error() == QLockFile::LockFailedError) {
        FFirstCopy = false;
        return;
    }
    // The lock file cannot be made at all: run as the only copy we know of.
    FFailure = QStringLiteral("lock file %1 cannot be created").arg(FLock.fileName());
    listen();
}

SingleInstanceGuard::~SingleInstanceGuard()
{
    if (FServer)
        FServer->close();
    // FLock unlocks itself.
}

void SingleInstanceGuard::listen()
{
    FServer = new QLocalServer(this);
    FServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(FServer, &QLocalServer::newConnection, this, &SingleInstanceGuard::acceptConnections);
    if (!FServer->listen(serverName(FName))) {
        if (!FFailure.isEmpty())
            FFailure += QStringLiteral("; ");
        FFailure += QStringLiteral("cannot listen: ") + FServer->errorString();
    }
}

void SingleInstanceGuard::acceptConnections()
{
    while (QLocalSocket* socket = FServer->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        QTimer::singleShot(SilentPeerMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        if (socket->bytesAvailable() > 0)
            readRequest(socket);
    }
}

void SingleInstanceGuard::readRequest(QLocalSocket* socket)
{
    while (socket->canReadLine()) {
        int kind = 0;
        QByteArray param;
        if (!parseLine(socket->readLine(MaxLineBytes), kind, param) || kind != 1)
            continue;
        bringMainWindowForward();
        const WId id = FMainWindow ? FMainWindow->window()->winId() : 0;
        socket->write("2 " + QByteArray::number(quint64(id)) + "\n");
        socket->flush();
        emit requestReceived(param.toLongLong());
    }
    if (socket->bytesAvailable() >= MaxLineBytes) {
        socket->abort();
        socket->deleteLater();
    }
}

void SingleInstanceGuard::bringMainWindowForward()
{
    QWidget* window = FMainWindow ? FMainWindow->window() : nullptr;
    if (!window)
        return;
    // Clearing only the minimised flag brings a maximised window back maximised.
    if (window->isMinimized())
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->raise();
    window->activateWindow();
}

void SingleInstanceGuard::askRunningCopy(std::chrono::milliseconds giveUpAfter)
{
    if (FFirstCopy || FAsked)
        return;
    FAsked = true;
    FDeadline = QDeadlineTimer(giveUpAfter);
    // A coarse timer may fire up to 5 % early; the wait is a promise to the operator.
    QTimer::singleShot(giveUpAfter, Qt::PreciseTimer, this, [this] {
        if (FFinished)
            return;
        emit gaveUp();
        finish();
    });
    // Through the event loop, so the quit always lands in a running loop.
    QTimer::singleShot(0, this, &SingleInstanceGuard::connectToRunningCopy);
}

void SingleInstanceGuard::connectToRunningCopy()
{
    if (FFinished)
        return;
    if (FSocket)
        FSocket->deleteLater();
    auto* socket = new QLocalSocket(this);
    FSocket = socket;
    connect(socket, &QLocalSocket::connected, this, [socket] {
        socket->write("1 " + QByteArray::number(QCoreApplication::applicationPid()) + "\n");
        socket->flush();
    });
    connect(socket, &QLocalSocket::readyRead, this, &SingleInstanceGuard::readAnswer);
    // The lock holder may not be listening yet, or may be going away: try
    // again until the deadline.
    connect(socket, &QLocalSocket::errorOccurred, this, [this, socket] {
        disconnect(socket, nullptr, this, nullptr);
        if (socket == FSocket)
            retryLater();
    });
    socket->connectToServer(serverName(FName));
}

void SingleInstanceGuard::retryLater()
{
    if (FFinished || FDeadline.hasExpired())
        return;
    QTimer::singleShot(RetryMs, this, &SingleInstanceGuard::connectToRunningCopy);
}

void SingleInstanceGuard::readAnswer()
{
    while (FSocket && FSocket->canReadLine()) {
        int kind = 0;
        QByteArray param;
        if (!parseLine(FSocket->readLine(MaxLineBytes), kind, param) || kind != 2)
            continue;
        emit answerReceived(quintptr(param.toULongLong()));
        finish();
        return;
    }
}

void SingleInstanceGuard::finish()
{
    if (FFinished)
        return;
    FFinished = true;
    if (FSocket)
        FSocket->abort();
    QCoreApplication::quit();
}

} // namespace shell

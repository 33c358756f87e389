#include "browsing/SessionStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace browsing {
namespace {

const QByteArray Header = "ZantuSession 1";
const QByteArray Running = "state running";
const QByteArray Closed = "state closed";
const QByteArray TabPrefix = "tab ";
const QByteArray End = "end";
constexpr int MinWriteGapMs = 1000;
constexpr qint64 MaxFileSize = 1 << 20;

bool isAddress(const QByteArray& url)
{
    if (url.isEmpty())
        return false;
    for (const char c : url)
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F)
            return false;
    return true;
}

} // namespace

std::optional<SessionStore::Contents> SessionStore::Parse(const QByteArray& text)
{
    QList<QByteArray> lines = text.split('\n');
    for (QByteArray& line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    // The last line ends with LF too: a file cut short lacks "end" or its LF.
    if (lines.size() < 4 || lines[0] != Header || lines.last() != "" ||
        lines[lines.size() - 2] != End)
        return std::nullopt;
    Contents contents;
    if (lines[1] == Closed)
        contents.closed = true;
    else if (lines[1] != Running)
        return std::nullopt;
    for (int i = 2; i < lines.size() - 2; ++i) {
        if (!lines[i].startsWith(TabPrefix))
            return std::nullopt;
        const QByteArray url = lines[i].mid(TabPrefix.size());
        if (!isAddress(url))
            return std::nullopt;
        contents.tabs.append(url);
    }
    return contents;
}

QByteArray SessionStore::Format(const Contents& contents)
{
    QByteArray text = Header + '\n' + (contents.closed ? Closed : Running) + '\n';
    for (const QByteArray& url : contents.tabs)
        if (isAddress(url))
            text += TabPrefix + url + '\n';
    return text + End + '\n';
}

SessionStore::SessionStore(QString path) : FPath(std::move(path))
{
    FTimer.setSingleShot(true);
    FTimer.setTimerType(Qt::PreciseTimer); // a coarse timer may fire early
    connect(&FTimer, &QTimer::timeout, this, &SessionStore::Write);
}

QList<QByteArray> SessionStore::Open()
{
    std::optional<Contents> last;
    QFile file(FPath);
    if (file.size() <= MaxFileSize && file.open(QIODevice::ReadOnly))
        last = Parse(file.readAll());
    file.close();
    Contents running;
    if (last && !last->closed)
        running.tabs = last->tabs;
    FOpen = true;
    FOpenedTabs = running.tabs;
    // This run's first write waits its second like every other, off the
    // start: until then another end without a close finds the last run's
    // tabs, the very ones this run opens again, and a damaged file is
    // replaced then.
    FTimer.start(MinWriteGapMs);
    return running.tabs;
}

void SessionStore::Changed()
{
    if (!FOpen || FTimer.isActive())
        return;
    const qint64 since = FLastWrite.isValid() ? FLastWrite.elapsed() : MinWriteGapMs;
    FTimer.start(int(qMax<qint64>(0, MinWriteGapMs - since)));
}

void SessionStore::Close()
{
    if (!FOpen)
        return;
    FTimer.stop();
    FOpen = false;
    Contents closed;
    closed.closed = true;
    Save(closed);
}

void SessionStore::Write()
{
    if (!FOpen)
        return;
    Contents running;
    running.tabs = FSource ? FSource() : FOpenedTabs;
    Save(running);
}

void SessionStore::Save(const Contents& contents)
{
    FLastWrite.start();
    QDir().mkpath(QFileInfo(FPath).absolutePath());
    QSaveFile file(FPath);
    // On failure the temporary goes and the last file stays whole.
    if (file.open(QIODevice::WriteOnly) && file.write(Format(contents)) >= 0)
        file.commit();
}

} // namespace browsing

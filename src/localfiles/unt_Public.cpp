#include "localfiles/unt_Public.h"

#include "localfiles/Gbk.h"
#include "localfiles/ProfileFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace localfiles {
namespace {

QByteArray& testAppPath()
{
    static QByteArray path;
    return path;
}

QByteArray withDelimiter(QByteArray folder)
{
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

} // namespace

QByteArray AppPath()
{
    if (!testAppPath().isEmpty())
        return testAppPath();
    return withDelimiter(gbk::fromUnicode(QCoreApplication::applicationDirPath()));
}

void SetAppPathForTesting(const QByteArray& folder)
{
    testAppPath() = folder.isEmpty() ? QByteArray() : withDelimiter(folder);
}

void SplitString(QByteArray S, const QByteArray& Sep, QList<QByteArray>& List)
{
    List.clear();
    while (!S.isEmpty()) {
        int p = Sep.isEmpty() ? -1 : S.indexOf(Sep);
        if (p < 0)
            p = S.size();
        List.append(S.left(p));
        S.remove(0, p + 1);
    }
}

QByteArray ReplaceAll(QByteArray S, const QByteArray& Pattern, const QByteArray& Replacement)
{
    if (Pattern.isEmpty())
        return S;
    // A replacement that holds the pattern would be found again for ever;
    // then the search goes on behind each inserted replacement instead.
    const bool resumeBehind = Replacement.contains(Pattern);
    int from = 0;
    for (int p = S.indexOf(Pattern); p >= 0; p = S.indexOf(Pattern, from)) {
        S.replace(p, Pattern.size(), Replacement);
        from = resumeBehind ? p + Replacement.size() : 0;
    }
    return S;
}

void AppendLineToFile(const QByteArray& Line, const QByteArray& FileName)
{
    if (gbk::trimmed(FileName).isEmpty())
        return;
    const QString path = gbk::toUnicode(FileName);
    const QString folder = QFileInfo(path).path();
    if (!QDir(folder).exists())
        QDir().mkdir(folder); // one level only; a failure shows at the open below

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        throw IoError("I/O error: cannot open " + FileName.toStdString());
    const QByteArray bytes = Line + "\r\n";
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw IoError("I/O error: cannot write " + FileName.toStdString());
}

void WriteDayLog(const QByteArray& Text, const QByteArray& Name, int OpenAfter, QByteArray& LogPath)
{
    try {
        LogPath = AppPath() + "log/" + Name + "-" +
                  QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")).toLatin1() + ".txt";
        const QByteArray line = QDateTime::currentDateTime()
                                    .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                    .toLatin1() +
                                "  " + Text;
        AppendLineToFile(line, LogPath);
        if (OpenAfter > 0)
            QDesktopServices::openUrl(QUrl::fromLocalFile(gbk::toUnicode(LogPath)));
    } catch (...) {
        // The log never interrupts its caller; a line that cannot be written is lost.
    }
}

QByteArray ReadTaskConfig(const QByteArray& Key)
{
    const QByteArray value =
        ProfileFile::ReadString(AppPath() + "Config.ini", "TaskConfig", Key, {});
    return gbk::trimmed(value).isEmpty() ? QByteArray("0") : value;
}

bool WriteTaskConfig(const QByteArray& Key, const QByteArray& Value)
{
    ProfileFile::WriteString(AppPath() + "Config.ini", "TaskConfig", Key, Value);
    return true;
}

} // namespace localfiles

#include "webview/CupsPdfPrinter.h"

#include "support/Wait.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>

#include <pwd.h>
#include <unistd.h>

namespace {

bool schedulerRuns()
{
    return RunTool(QStringLiteral("lpstat"), {QStringLiteral("-r")})
        .startsWith("scheduler is running");
}

// cups-pdf writes a user's jobs to the folder "Out" of its configuration.
QString cupsPdfOutFolder()
{
    QString out = QStringLiteral("/var/spool/cups-pdf/${USER}");
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (conf.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : conf.readAll().split('\n')) {
            const QByteArray t = line.trimmed();
            if (t.startsWith("Out ") || t.startsWith("Out\t"))
                out = QString::fromLocal8Bit(t.mid(4).trimmed());
        }
    }
    const passwd* user = getpwuid(getuid());
    if (user) {
        out.replace(QStringLiteral("${HOME}"), QString::fromLocal8Bit(user->pw_dir));
        out.replace(QStringLiteral("${USER}"), QString::fromLocal8Bit(user->pw_name));
    }
    return out;
}

} // namespace

QByteArray RunTool(const QString& program, const QStringList& arguments, int* exitCode,
                   int timeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(5000) || !process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(2000);
        if (exitCode)
            *exitCode = -1;
        return {};
    }
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return process.readAll();
}

CupsPdfPrinter::CupsPdfPrinter()
{
    for (const char* tool : {"cupsd", "lpadmin", "lpstat", "pdfinfo", "pdftoppm"}) {
        const QString path = QStandardPaths::findExecutable(
            QString::fromLatin1(tool), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
        if (path.isEmpty()) {
            FUnavailable = QStringLiteral("%1 is not installed").arg(QString::fromLatin1(tool));
            return;
        }
    }
    if (!QFileInfo::exists(QStringLiteral("/usr/lib/cups/backend/cups-pdf"))) {
        FUnavailable = QStringLiteral("the cups-pdf backend is not installed");
        return;
    }
    if (!schedulerRuns()) {
        if (geteuid() != 0) {
            FUnavailable =
                QStringLiteral("the CUPS scheduler does not run and only root starts it");
            return;
        }
        RunTool(QStringLiteral("/usr/sbin/cupsd"), {}); // it goes to the background by itself
        if (!WaitFor(schedulerRuns, 20000)) {
            FFailure = QStringLiteral("cupsd did not start");
            return;
        }
    }
    FName = QStringLiteral("zantu-test-%1-%2")
                .arg(QCoreApplication::applicationPid())
                .arg(QRandomGenerator::global()->generate() % 100000);
    int code = -1;
    const QByteArray out =
        RunTool(QStringLiteral("lpadmin"),
                {QStringLiteral("-p"), FName, QStringLiteral("-E"), QStringLiteral("-v"),
                 QStringLiteral("cups-pdf:/"), QStringLiteral("-m"),
                 QStringLiteral("lsb/usr/cups-pdf/CUPS-PDF_opt.ppd")},
                &code);
    if (code != 0) {
        const QString why = QStringLiteral("lpadmin could not add a printer: %1")
                                .arg(QString::fromLocal8Bit(out).trimmed());
        (geteuid() == 0 ? FFailure : FUnavailable) = why;
        return;
    }
    FAdded = true;
    FOutFolder = cupsPdfOutFolder();
}

CupsPdfPrinter::~CupsPdfPrinter()
{
    if (FAdded)
        RunTool(QStringLiteral("lpadmin"), {QStringLiteral("-x"), FName});
}

QList<int> CupsPdfPrinter::jobs() const
{
    // "NAME-12  root  1024  Thu ..." a line a job.
    const QByteArray out =
        RunTool(QStringLiteral("lpstat"),
                {QStringLiteral("-W"), QStringLiteral("all"), QStringLiteral("-o"), FName});
    QList<int> ids;
    const QByteArray prefix = FName.toLatin1() + "-";
    for (const QByteArray& line : out.split('\n')) {
        if (!line.startsWith(prefix))
            continue;
        const QByteArray id = line.mid(prefix.size()).split(' ').value(0);
        bool ok = false;
        const int n = id.toInt(&ok);
        if (ok)
            ids.append(n);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

QStringList CupsPdfPrinter::finishedPdfs(const QString& title) const
{
    // cups-pdf names the file after the job's title and number: TITLE-job_N.pdf,
    // and writes it under a temporary name until it is done.
    const QList<int> ids = jobs();
    QStringList found;
    QDir out(FOutFolder);
    for (const int id : ids) {
        const QStringList names =
            out.entryList({title + QStringLiteral("*-job_%1.pdf").arg(id)}, QDir::Files);
        for (const QString& name : names) {
            const QString path = out.filePath(name);
            if (pdfPageSize(path).pages > 0)
                found.append(path);
        }
    }
    return found;
}

CupsPdfPrinter::PageSize CupsPdfPrinter::pdfPageSize(const QString& pdf)
{
    PageSize size;
    int code = -1;
    const QByteArray info = RunTool(QStringLiteral("pdfinfo"), {pdf}, &code);
    if (code != 0)
        return size;
    static const QRegularExpression pageSize(
        QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts"));
    static const QRegularExpression pages(QStringLiteral("Pages:\\s+([0-9]+)"));
    const QString text = QString::fromLatin1(info);
    const auto s = pageSize.match(text);
    const auto p = pages.match(text);
    if (!s.hasMatch() || !p.hasMatch())
        return size;
    constexpr double PointsPerMm = 72.0 / 25.4;
    size.widthMm = s.captured(1).toDouble() / PointsPerMm;
    size.heightMm = s.captured(2).toDouble() / PointsPerMm;
    size.pages = p.captured(1).toInt();
    return size;
}

CupsPdfPrinter::Ink CupsPdfPrinter::pdfInk(const QString& pdf, int dpi)
{
    Ink ink;
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("page"));
    int code = -1;
    RunTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
             QStringLiteral("-singlefile"), QStringLiteral("-f"), QStringLiteral("1"),
             QStringLiteral("-l"), QStringLiteral("1"), pdf, prefix},
            &code);
    QFile file(prefix + QStringLiteral(".pgm"));
    if (code != 0 || !file.open(QIODevice::ReadOnly))
        return ink;
    // Binary PGM: "P5", width, height, maximum, one blank, then a byte a pixel.
    const QByteArray bytes = file.readAll();
    QList<QByteArray> header;
    int pos = 0;
    while (header.size() < 4 && pos < bytes.size()) {
        while (pos < bytes.size() && QChar::isSpace(bytes[pos]))
            ++pos;
        const int start = pos;
        while (pos < bytes.size() && !QChar::isSpace(bytes[pos]))
            ++pos;
        header.append(bytes.mid(start, pos - start));
    }
    ++pos;
    if (header.size() < 4 || header[0] != "P5" || header[3] != "255")
        return ink;
    ink.width = header[1].toInt();
    ink.height = header[2].toInt();
    if (bytes.size() - pos < ink.width * ink.height)
        return Ink{};
    for (int y = 0; y < ink.height; ++y) {
        for (int x = 0; x < ink.width; ++x) {
            if (static_cast<unsigned char>(bytes[pos + y * ink.width + x]) >= 128)
                continue;
            ++ink.dark;
            if (ink.left < 0 || x < ink.left)
                ink.left = x;
            if (ink.top < 0)
                ink.top = y;
            ink.right = std::max(ink.right, x);
            ink.bottom = y;
        }
    }
    return ink;
}

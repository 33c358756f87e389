#include "update/UpdateCheck.h"

#include "localfiles/Gbk.h"
#include "localfiles/MemIniFile.h"
#include "localfiles/unt_Public.h"
#include "shell/MessageBoxes.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSaveFile>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace update {
namespace {

QByteArray text(const char16_t* unicode)
{
    return gbk::fromUnicode(QString::fromUtf16(unicode));
}

// data/AutoUpdate.ini over AutoUpdate.ini, both in the working directory,
// through a temporary file and a rename; a failure leaves the target as it was.
void copyFetchedDescriptor()
{
    QFile source(QStringLiteral("data/AutoUpdate.ini"));
    if (!source.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return;
    QSaveFile target(QStringLiteral("AutoUpdate.ini"));
    if (target.open(QIODevice::WriteOnly) && target.write(bytes) == bytes.size())
        target.commit();
}

// The program folder first, then the usual search.
QString updaterProgram()
{
    const QString local = gbk::toUnicode(localfiles::AppPath() + "Update.exe");
    return QFileInfo::exists(local) ? local : QStringLiteral("Update.exe");
}

bool ask(const char16_t* question)
{
    return shell::ShowMessageBox(text(question), text(u"重要提示信息"),
                                 shell::Mb::YesNo | shell::Mb::IconQuestion) == shell::Answer::Yes;
}

bool runCheck(const UpdateOperations& ops)
{
    bool result = false;
    try {
        const quint32 seed =
            ops.randomSeed ? ops.randomSeed() : quint32(QDateTime::currentMSecsSinceEpoch());
        QRandomGenerator random(seed);
        const QByteArray folder = localfiles::AppPath();
        const localfiles::MemIniFile local(folder + "AutoUpdate.ini");
        const QByteArray server = local.ReadString("Version", "UpdateServer", {});
        const QByteArray descriptorUrl =
            server + "AutoUpdate.ini?Ver=" + QByteArray::number(random.bounded(1000));
        const QByteArray menuUrl =
            server + "zantu.dll?Ver=" + QByteArray::number(random.bounded(1000));

        const QByteArray fetchedFile = folder + "data/AutoUpdate.ini";
        if (!ops.downloadFile(descriptorUrl, fetchedFile, false))
            return result;
        const QByteArray menuFile = folder + "zantu.dll";
        if (!QFileInfo::exists(gbk::toUnicode(menuFile)) &&
            !ops.downloadFile(menuUrl, menuFile, false))
            return result;

        const localfiles::MemIniFile fetched(fetchedFile);
        const QByteArray newVersion = fetched.ReadString("Version", "Version", {});
        const QByteArray newUpdateVer = fetched.ReadString("Version", "UpdateVer", {});
        const QByteArray oldVersion = local.ReadString("Version", "Version", {});
        const QByteArray oldUpdateVer = local.ReadString("Version", "UpdateVer", {});
        const QByteArray updaterUrl = server + "Update.exe?Ver=" + newUpdateVer;
        const QByteArray updaterFile = folder + "Update.exe";

        if (newVersion != oldVersion) {
            result = true;
            if (!ask(u"已经检测到有更新版本的程序，你是否退出当前操作，进行更新？"))
                return result;
            if (newUpdateVer != oldUpdateVer)
                ops.downloadFile(updaterUrl, updaterFile, true);
            if (ops.terminateApplication)
                ops.terminateApplication();
            else
                QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                          Qt::QueuedConnection);
            const QString program = updaterProgram();
            ops.startDetached ? ops.startDetached(program) : StartDetachedHidden(program);
            copyFetchedDescriptor();
        } else if (newUpdateVer != oldUpdateVer) {
            if (!ask(u"已经检测到有升级程序需要更新，你是否进行更新？"))
                return result;
            if (ops.processMessages)
                ops.processMessages();
            else
                QCoreApplication::processEvents();
            ops.downloadFile(updaterUrl, updaterFile, true);
            copyFetchedDescriptor();
            shell::ShowMessageBox(text(u"升级完成！"), text(u"提示信息"),
                                  shell::Mb::Ok | shell::Mb::IconInformation);
        }
    } catch (...) {
        // The check never stops the program; the result is what was set so far.
    }
    return result;
}

} // namespace

bool StartDetachedHidden(const QString& program)
{
    QProcess process;
    process.setProgram(program);
#ifdef Q_OS_WIN
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* args) {
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_HIDE;
    });
#else
    QFile file(program);
    if (file.exists())
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
#endif
    return process.startDetached();
}

bool CheckUpdate(const UpdateOperations& ops)
{
    return runCheck(ops);
}

void act_updateExecute(const UpdateOperations& ops)
{
    if (!CheckUpdate(ops))
        shell::ShowMessageBox(text(u"当前没有要升级的文件"), text(u"提示信息"),
                              shell::Mb::Ok | shell::Mb::IconInformation);
}

} // namespace update

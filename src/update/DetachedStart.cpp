#include "update/DetachedStart.h"

#include <QFile>
#include <QProcess>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace update {

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

} // namespace update

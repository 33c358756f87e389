#include "update/UpdateCheck.h"

#include "localfiles/Gbk.h"
#include "ui/MessageBoxes.h"
#include "update/UpdateRunner.h"

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

bool CheckUpdate(UpdateRunner& runner, const UpdateOperations& ops)
{
    return runner.Start(ops);
}

void act_updateExecute(UpdateRunner& runner, const UpdateOperations& ops)
{
    runner.Start(ops, [](bool result) {
        if (!result)
            ui::ShowMessageBox(gbk::fromUnicode(QStringLiteral(u"当前没有要升级的文件")),
                               gbk::fromUnicode(QStringLiteral(u"提示信息")),
                               ui::Mb::Ok | ui::Mb::IconInformation);
    });
}

} // namespace update

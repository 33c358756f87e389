#include "update/UpdateCheck.h"

#include "localfiles/Gbk.h"
#include "ui/MessageBoxes.h"
#include "update/UpdateRunner.h"

namespace update {

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

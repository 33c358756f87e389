#include "shell/TextConverterCheck.h"

#include "localfiles/Gbk.h"
#include "ui/MessageBoxes.h"

namespace shell {

bool TextConverterReady()
{
    if (gbk::ConverterAvailable())
        return true;
    ui::ShowMessageBox("Zantu cannot start: this Qt has no GBK text converter (the QTextCodec "
                       "\"GBK\" of Qt's Core5Compat module), so no Chinese text could be shown "
                       "or kept. Install the Qt 6 Core5Compat library (libqt6core5compat6, or "
                       "Qt6Core5Compat.dll beside zantu.exe) and start the program again.",
                       "Zantu", ui::Mb::Ok | ui::Mb::IconError);
    return false;
}

} // namespace shell

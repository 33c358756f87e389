#include "ui/ErrorReport.h"

#include "ui/MessageBoxes.h"

#include <QByteArray>

namespace ui {

void ShowException(const char* what)
{
    ShowMessageBox(QByteArray(what), QByteArray("zantu"), Mb::Ok | Mb::IconError);
}

} // namespace ui

#include "shell/ImageLists.h"

#include <QPixmap>

namespace shell {

QIcon ImageListIcon(int index)
{
    if (index < 0 || index >= ImageListCount)
        return {};
    return QIcon(QStringLiteral(":/images/ImageList/%1.png").arg(index, 2, 10, QLatin1Char('0')));
}

QIcon ImageList1Icon(int index)
{
    if (index < 0 || index >= ImageList1Count)
        return {};
    return QIcon(QStringLiteral(":/images/ImageList1/%1.png").arg(index));
}

QPixmap Image1Picture()
{
    return QPixmap(QStringLiteral(":/images/Image1.png"));
}

} // namespace shell

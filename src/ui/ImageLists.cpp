#include "ui/ImageLists.h"

#include <QPixmap>

// The pictures live in this library: a static library's resources register
// only when called for, and every picture is asked for here.
static void registerPictures()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace ui {
namespace {

QString picture(const QString& path)
{
    registerPictures();
    return QStringLiteral(":/images/") + path;
}

} // namespace

QIcon ImageListIcon(int index)
{
    if (index < 0 || index >= ImageListCount)
        return {};
    return QIcon(picture(QStringLiteral("ImageList/%1.png").arg(index, 2, 10, QLatin1Char('0'))));
}

QIcon ImageList1Icon(int index)
{
    if (index < 0 || index >= ImageList1Count)
        return {};
    return QIcon(picture(QStringLiteral("ImageList1/%1.png").arg(index)));
}

QPixmap Image1Picture()
{
    return QPixmap(picture(QStringLiteral("Image1.png")));
}

QIcon AppIcon()
{
    return QIcon(picture(QStringLiteral("app.png")));
}

} // namespace ui

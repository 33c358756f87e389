#include "menu/MenuDropPlacement.h"

#include <QEvent>
#include <QMenu>
#include <QScreen>
#include <QToolButton>

namespace menu {

MenuDropPlacement::MenuDropPlacement(QToolButton* Button, QMenu* Menu)
    : QObject(Menu), FButton(Button), FMenu(Menu)
{
    Menu->installEventFilter(this);
}

bool MenuDropPlacement::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched == FMenu && FButton) {
        QPoint corner = FButton->mapToGlobal(QPoint(0, FButton->height() + 1));
        if (const QScreen* screen = FButton->screen()) {
            const QRect room = screen->availableGeometry();
            corner.setX(qBound(room.left(), corner.x(),
                               qMax(room.left(), room.right() + 1 - FMenu->width())));
            corner.setY(qBound(room.top(), corner.y(),
                               qMax(room.top(), room.bottom() + 1 - FMenu->height())));
        }
        FMenu->move(corner);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace menu

#pragma once

#include <QObject>
#include <QPointer>

class QMenu;
class QToolButton;

namespace menu {

// Drops a button's menu with its top-left corner at the button's left edge,
// one empty pixel row below the button, kept inside the screen. Where
// QToolButton itself puts the menu depends on the Qt version and on the room
// below the button, so the toolbar's rule is applied once the menu shows.
class MenuDropPlacement : public QObject
{
    Q_OBJECT
public:
    explicit MenuDropPlacement(QToolButton* Button, QMenu* Menu);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QToolButton> FButton;
    QPointer<QMenu> FMenu;
};

} // namespace menu

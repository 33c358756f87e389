#pragma once

#include "menu/MenuBuilder.h"
#include "menu/MenuDefinition.h"

#include <QIcon>
#include <QList>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class QAction;
class QMenu;
class QObject;
class QToolBar;
class QToolButton;
class QWidget;

namespace menu {

// The main window's arrays of toolbar buttons and drop-down menus, indexed by
// button number; entries stay empty until their button is built.
using MenuButtonArray = std::array<QPointer<QToolButton>, MenuButtonCount>;
using MenuPopupArray = std::array<QPointer<QMenu>, MenuButtonCount>;

// Builds the drop-down buttons on the main window's tool bar: every new button
// goes to the left end of the bar, with its drop-down menu owned by Owner.
// An item with a target keeps it as its status tip and calls MenuItemClick
// when chosen. The builder itself may go once the toolbar is built.
class MenuToolbarBuilder final : public MenuBuilder
{
public:
    using ClickHandler = std::function<void(QAction*)>;

    explicit MenuToolbarBuilder(QToolBar* sToolBar1, QWidget* Owner, QList<QIcon> ImageList1,
                                MenuButtonArray& MenuButtons, MenuPopupArray& MenuPopups,
                                ClickHandler MenuItemClick);

    void AddMenuButton(const QByteArray& Caption, int ImageIndex, int N) override;
    void AddMenuItem(int Level, const QByteArray& Caption, int N, int P, int S,
                     const QByteArray& Target) override;

private:
    void giveTarget(QAction* item, const QByteArray& Target) const;

    QPointer<QToolBar> FToolBar;
    QPointer<QWidget> FOwner;
    QList<QIcon> FPictures;
    MenuButtonArray& FMenuButtons;
    MenuPopupArray& FMenuPopups;
    ClickHandler FMenuItemClick;
};

// What MenuItemClick does first: the target of the chosen item (GBK), or
// nothing when Sender is not a menu item.
std::optional<QByteArray> MenuItemTarget(const QObject* Sender);

// A caption of the menu file as Qt shows it: "&" stands for itself.
QString MenuCaptionText(const QByteArray& Caption);

} // namespace menu

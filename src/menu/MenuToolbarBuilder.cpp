#include "menu/MenuToolbarBuilder.h"

#include "localfiles/Gbk.h"
#include "menu/MenuDropPlacement.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace menu {
namespace {

constexpr QSize kButtonSize(106, 60); // a face of 90 and a drop-down arrow of 16
constexpr QSize kPictureSize(32, 32);

QString numbered(const char* prefix, int number)
{
    return QLatin1String(prefix) + QString::number(number);
}

} // namespace

MenuToolbarBuilder::MenuToolbarBuilder(QToolBar* sToolBar1, QWidget* Owner, QList<QIcon> ImageList1,
                                       MenuButtonArray& MenuButtons, MenuPopupArray& MenuPopups,
                                       ClickHandler MenuItemClick)
    : FToolBar(sToolBar1), FOwner(Owner), FPictures(std::move(ImageList1)),
      FMenuButtons(MenuButtons), FMenuPopups(MenuPopups), FMenuItemClick(std::move(MenuItemClick))
{}

void MenuToolbarBuilder::AddMenuButton(const QByteArray& Caption, int ImageIndex, int N)
{
    if (N < 0 || N >= MenuButtonCount || !FToolBar)
        return;
    auto* button = new QToolButton(FToolBar);
    button->setObjectName(numbered("sSpeedB", N));
    button->setFixedSize(kButtonSize);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(kPictureSize);
    button->setText(MenuCaptionText(Caption));
    // A number the picture list does not have shows no picture.
    if (ImageIndex >= 0 && ImageIndex < FPictures.size())
        button->setIcon(FPictures[ImageIndex]);

    auto* popup = new QMenu(FOwner);
    popup->setObjectName(numbered("PopupM", N));
    button->setMenu(popup);
    new MenuDropPlacement(button, popup);

    // The left end of the bar: before every button built so far and the divider.
    const QList<QAction*> actions = FToolBar->actions();
    FToolBar->insertWidget(actions.isEmpty() ? nullptr : actions.first(), button);
    FMenuButtons[N] = button;
    FMenuPopups[N] = popup;
}

void MenuToolbarBuilder::AddMenuItem(int Level, const QByteArray& Caption, int N, int P, int S,
                                     const QByteArray& Target)
{
    if (N < 0 || N >= MenuButtonCount || !FMenuPopups[N])
        return;
    QMenu* popup = FMenuPopups[N];
    if (Level == TopLevel) {
        QAction* item = popup->addAction(MenuCaptionText(Caption));
        item->setObjectName(numbered("MenuItem", N));
        // An item with ">>" in its target carries a submenu instead.
        if (!Target.contains(">>"))
            giveTarget(item, Target);
    } else if (Level == SubLevel) {
        QAction* parentItem = popup->actions().value(P);
        if (!parentItem)
            return;
        QMenu* submenu = parentItem->menu();
        if (!submenu) {
            submenu = new QMenu(popup);
            parentItem->setMenu(submenu);
        }
        QAction* item = submenu->addAction(MenuCaptionText(Caption));
        item->setObjectName(numbered("MenuItem", S));
        giveTarget(item, Target);
    }
}

void MenuToolbarBuilder::giveTarget(QAction* item, const QByteArray& Target) const
{
    item->setStatusTip(gbk::toUnicode(Target));
    QObject::connect(item, &QAction::triggered, item, [item, click = FMenuItemClick] {
        if (click)
            click(item);
    });
}

std::optional<QByteArray> MenuItemTarget(const QObject* Sender)
{
    const auto* item = qobject_cast<const QAction*>(Sender);
    if (!item)
        return std::nullopt;
    return gbk::fromUnicode(item->statusTip());
}

QString MenuCaptionText(const QByteArray& Caption)
{
    return gbk::toUnicode(Caption).replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace menu

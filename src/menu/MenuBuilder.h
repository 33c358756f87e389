#pragma once

#include <QByteArray>

namespace menu {

// Receives what BuildMenuToolbar reads from the menu definition file, in file
// order. Captions and targets are GBK byte strings.
class MenuBuilder
{
public:
    enum Level { TopLevel = 0, SubLevel = 1 };

    virtual ~MenuBuilder() = default;

    // Button N (0 to 99), picture ImageIndex (0 to 7) of the toolbar's picture list.
    virtual void AddMenuButton(const QByteArray& Caption, int ImageIndex, int N) = 0;

    // Level TopLevel: item P of button N's drop-down menu (S is 0).
    // Level SubLevel: child S of item P of button N's drop-down menu.
    // The numbers are always the positions the new item takes: P is the next
    // free position (top level) or an existing item (sub level), S the next
    // free child position.
    virtual void AddMenuItem(int Level, const QByteArray& Caption, int N, int P, int S,
                             const QByteArray& Target) = 0;

protected:
    MenuBuilder() = default;
    MenuBuilder(const MenuBuilder&) = default;
    MenuBuilder& operator=(const MenuBuilder&) = default;
};

} // namespace menu
